#include "platform/folder_search.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>

#include <memory>

namespace velmora::platform {
namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchFrom(std::string_view wildcard, std::string_view name) {
    // Iterative matcher with single-star backtracking: linear in practice and
    // never recursive, whatever the pattern.
    size_t w = 0, n = 0;
    size_t starW = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (w < wildcard.size() &&
            (wildcard[w] == '?' || FoldCase(wildcard[w]) == FoldCase(name[n])) &&
            wildcard[w] != '*') {
            ++w;
            ++n;
        } else if (w < wildcard.size() && wildcard[w] == '*') {
            starW = w++;
            starN = n;
        } else if (starW != std::string_view::npos) {
            w = starW + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == '*') {
        ++w;
    }
    return w == wildcard.size();
}

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

bool MatchesWildcard(std::string_view wildcard, std::string_view name) {
    if (MatchFrom(wildcard, name)) {
        return true;
    }
    // "x.*" also matches "x": the extension part may be absent altogether.
    if (wildcard.size() >= 2 && wildcard.substr(wildcard.size() - 2) == ".*") {
        return MatchFrom(wildcard.substr(0, wildcard.size() - 2), name);
    }
    return false;
}

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
