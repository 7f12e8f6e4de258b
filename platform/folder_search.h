#pragma once

#include <string>
#include <vector>

namespace velmora::platform {

/// One entry found by a folder search: its name on disk and whether it is a
/// folder (symbolic links are followed for that test).
struct FolderEntry {
    std::string name;
    bool isDirectory = false;
};

/// Wildcard search over the entries of one folder, in the style of a shell
/// "find first / find next" search: `pattern` is a folder path followed by a
/// wildcard, e.g. "notes/*.txt" ("notes\*.txt" on Windows). The part after
/// the last separator is the wildcard; the part before it is the folder (""
/// means the current directory, so "*.txt" searches there).
///
/// The wildcard knows '*' (any run of characters) and '?' (one character)
/// and ignores letter case; a trailing ".*" also matches names without a dot,
/// so "*.*" matches every name. "." and ".." are never returned. Entries come
/// in the order the file system returns them; nothing is sorted and
/// subfolders are not entered.
class FolderSearch {
  public:
    virtual ~FolderSearch() = default;

    /// The matching entries, or an empty list when nothing matches or the
    /// folder cannot be read (missing, not a folder, no permission, or a
    /// pattern longer than the platform's path limit).
    virtual std::vector<FolderEntry> Find(const std::string& pattern) const = 0;
};

/// The search over the file system of the machine the program runs on.
class RealFolderSearch : public FolderSearch {
  public:
    std::vector<FolderEntry> Find(const std::string& pattern) const override;
};

}  // namespace velmora::platform
