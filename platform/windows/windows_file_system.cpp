#include <windows.h>

#include <utility>

#include "platform/file_system.h"
#include "platform/temporary_name.h"
#include "platform/windows/interrupt_cleanup.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {
namespace {

// Largest amount handed to one ReadFile or WriteFile call.
constexpr DWORD kMaxChunk = 1u << 30;

// Attributes an existing output passes on to the file that replaces it.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

/// Owns one file handle and closes it when it goes.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Close(); }

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

    /// Closes now and reports whether the close succeeded.
    bool Close() {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || ::CloseHandle(handle) != 0;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// What an open handle leads to, when it is a regular file on a disk: not a
// device (NUL, CON, COM1, ...), pipe or folder.
bool DescribeRegularFile(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
    return ::GetFileType(handle) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(handle, &info) != 0 &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

class WindowsInputFile : public InputFile {
  public:
    WindowsInputFile(UniqueHandle handle, const BY_HANDLE_FILE_INFORMATION& info)
        : handle_(std::move(handle)),
          size_((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
          identity_(IdentityOf(info)) {}

    std::uint64_t Size() const override { return size_; }
    FileIdentity Identity() const override { return identity_; }

    std::int64_t Read(unsigned char* buffer, std::size_t capacity) override {
        std::size_t total = 0;
        while (total < capacity) {
            const std::size_t left = capacity - total;
            const DWORD chunk = left < kMaxChunk ? static_cast<DWORD>(left) : kMaxChunk;
            DWORD got = 0;
            if (!::ReadFile(handle_.Get(), buffer + total, chunk, &got, nullptr)) {
                return -1;
            }
            if (got == 0) {
                break;
            }
            total += got;
        }
        return static_cast<std::int64_t>(total);
    }

  private:
    UniqueHandle handle_;
    std::uint64_t size_;
    FileIdentity identity_;
};

bool WriteAll(HANDLE handle, const unsigned char* data, std::size_t length) {
    while (length > 0) {
        const DWORD chunk = length < kMaxChunk ? static_cast<DWORD>(length) : kMaxChunk;
        DWORD put = 0;
        if (!::WriteFile(handle, data, chunk, &put, nullptr) || put == 0) {
            return false;
        }
        data += put;
        length -= put;
    }
    return true;
}

// The folder part of `path` with its trailing separator, "X:" for a path
// relative to a drive's current directory, or "" for a bare name.
std::wstring FolderPart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring::npos) {
        return path.substr(0, separator + 1);
    }
    if (path.size() >= 2 && path[1] == L':') {
        return path.substr(0, 2);
    }
    return std::wstring();
}

// The path of the file open as `handle`, with every link and junction on the
// way resolved ("\\?\C:\folder\name"); "" when the system cannot tell.
std::wstring FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);  // the size needed, terminating null included
    }
}

// What a name to be replaced leads to: the file that actually gets replaced.
struct Destination {
    std::wstring path;  // the file a link leads to, or the name itself
    bool exists = false;
    DWORD attributes = 0;
};

// Finds what `path` leads to. False for a dangling or looping link, for
// anything but a regular file on a disk, for a read-only file, for a folder
// part that cannot be reached, for anything existing when
// `mayReplaceExisting` is false, and for the file `keep`.
bool Resolve(const std::wstring& path, const FileIdentity& keep, bool mayReplaceExisting,
             Destination& destination) {
    // No access asked for, only the file's identity: this open is not kept
    // out by the share mode 0 that `keep` is held with, and it follows links
    // to the file they lead to.
    const UniqueHandle probe(
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!probe.Valid()) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return false;  // the folder is missing, a link loops, no access, ...
        }
        // Nothing to open: a free name, unless the name itself is there as
        // a link that dangles.
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ||
            ::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return false;
        }
        destination.path = path;
        destination.exists = false;
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!mayReplaceExisting || !DescribeRegularFile(probe.Get(), info) ||
        IdentityOf(info) == keep || (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    destination.path = FinalPathOf(probe.Get());
    if (destination.path.empty()) {
        // Without the final path only a name that is no link itself can be
        // replaced: replacing a link would not be replacing what it leads to.
        const DWORD own = ::GetFileAttributesW(path.c_str());
        if (own == INVALID_FILE_ATTRIBUTES || (own & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return false;
        }
        destination.path = path;
    }
    destination.exists = true;
    destination.attributes = info.dwFileAttributes;
    return true;
}

std::wstring NewTemporaryName(unsigned attempt) {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    const std::string name =
        TemporaryName(static_cast<std::uint64_t>(now.QuadPart), ::GetCurrentProcessId(), attempt);
    return std::wstring(name.begin(), name.end());  // ASCII only
}

// Creates a new temporary file in `folder`, hidden, and records it for the
// interruption handler. The handle shares delete access only, so that the
// handler can remove the file while it is being written.
UniqueHandle CreateTemporary(const std::wstring& folder, std::wstring& temporary) {
    const windows::InterruptionsHeld held;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + NewTemporaryName(attempt);
        UniqueHandle out(::CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (out.Valid()) {
            if (!windows::SetTemporaryInProgress(temporary.c_str())) {
                out.Close();
                ::DeleteFileW(temporary.c_str());
                return UniqueHandle();
            }
            return out;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return UniqueHandle();
}

// Sets the attributes the new file keeps once it has its final name: those
// the old file had (not hidden for a new one), marked for backup.
bool SetFinalAttributes(HANDLE handle, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // zero times: left as they are
    basic.FileAttributes = (attributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != 0;
}

}  // namespace

struct RealFileSystem::State {};

RealFileSystem::RealFileSystem() : state_(std::make_unique<State>()) {}
RealFileSystem::~RealFileSystem() = default;

std::unique_ptr<InputFile> RealFileSystem::OpenForReading(const std::string& path) {
    // Share mode 0: while the input is open nobody else can write, rename or
    // delete it. A device name opens the device, which is refused below
    // without ever being read.
    const std::wstring widePath = windows::Utf8ToWide(path);
    if (widePath.empty()) {
        return nullptr;
    }
    UniqueHandle handle(::CreateFileW(widePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.Valid() || !DescribeRegularFile(handle.Get(), info)) {
        return nullptr;
    }
    return std::make_unique<WindowsInputFile>(std::move(handle), info);
}

bool RealFileSystem::ReplaceWhole(const std::string& path, const unsigned char* data,
                                  std::size_t length, const InputFile& keep,
                                  bool mayReplaceExisting) {
    // The check that the output is not `keep`, made here, still holds when the
    // new file takes the output's place below: `keep` is open with share mode
    // 0 for as long as it lives, and renaming or deleting a file needs delete
    // access to it, which that share mode denies to everyone. So no other
    // process can move `keep` onto the output name in between. A hard link
    // made to `keep` in between would lose only that new name; the file and
    // its other names stay as they are.
    Destination destination;
    const std::wstring widePath = windows::Utf8ToWide(path);
    if (widePath.empty() || !Resolve(widePath, keep.Identity(), mayReplaceExisting, destination)) {
        return false;
    }

    std::wstring temporary;
    UniqueHandle out = CreateTemporary(FolderPart(destination.path), temporary);
    if (!out.Valid()) {
        return false;
    }
    const bool written = WriteAll(out.Get(), data, length) &&
                         SetFinalAttributes(out.Get(), destination.attributes) &&
                         ::FlushFileBuffers(out.Get()) != 0 && out.Close();

    const windows::InterruptionsHeld held;
    // Without MOVEFILE_REPLACE_EXISTING a name taken in the meantime is left
    // alone and the move fails.
    const bool placed =
        written && ::MoveFileExW(temporary.c_str(), destination.path.c_str(),
                                 (destination.exists ? MOVEFILE_REPLACE_EXISTING : 0) |
                                     MOVEFILE_WRITE_THROUGH) != 0;
    if (!placed) {
        out.Close();
        ::DeleteFileW(temporary.c_str());
    }
    windows::ClearTemporaryInProgress();
    return placed;
}

bool RealFileSystem::FlushFolders() {
    // Each move above was made with MOVEFILE_WRITE_THROUGH, which returns
    // only once the new name is on disk; a folder cannot be flushed on its
    // own here.
    return true;
}

}  // namespace velmora::platform
