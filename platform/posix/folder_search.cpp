#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>

#include <memory>

#include "platform/folder_search.h"
#include "platform/wildcard.h"

namespace velmora::platform {
namespace {

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::vector<FolderEntry> RealFolderSearch::Find(const std::string& pattern) const {
    std::vector<FolderEntry> entries;
    if (pattern.size() + 1 > PATH_MAX) {
        return entries;
    }
    const size_t slash = pattern.rfind('/');
    std::string folder;
    std::string_view wildcard = pattern;
    if (slash != std::string::npos) {
        folder = pattern.substr(0, slash + 1);  // keep the '/': "/" stays the root
        wildcard = std::string_view(pattern).substr(slash + 1);
    }
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) {
        return entries;
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (IsDots(entry->d_name) || !MatchesWildcard(wildcard, entry->d_name)) {
            continue;
        }
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isDirectory =
                stat((folder + entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({entry->d_name, isDirectory});
    }
    return entries;
}

}  // namespace velmora::platform
