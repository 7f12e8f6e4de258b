#include <windows.h>

#include "platform/folder_search.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {
namespace {

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle(handle) {}
    ~FindHandle() {
        if (Valid()) {
            ::FindClose(handle);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle; }

  private:
    HANDLE handle;
};

}  // namespace

std::vector<FolderEntry> RealFolderSearch::Find(const std::string& pattern) const {
    // The system matches the wildcard itself, ignoring letter case as the
    // file system does (and, on volumes that keep them, also against the
    // short 8.3 names); an empty folder part is the current directory.
    std::vector<FolderEntry> entries;
    const std::wstring widePattern = windows::Utf8ToWide(pattern);
    if (widePattern.empty() || widePattern.size() + 1 > MAX_PATH) {
        return entries;
    }
    WIN32_FIND_DATAW found;
    const FindHandle search(::FindFirstFileExW(widePattern.c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr,
                                               FIND_FIRST_EX_LARGE_FETCH));
    if (!search.Valid()) {
        return entries;
    }
    do {
        if (!IsDots(found.cFileName)) {
            entries.push_back({windows::WideToUtf8(found.cFileName),
                               (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        }
    } while (::FindNextFileW(search.Get(), &found));
    return entries;
}

}  // namespace velmora::platform
