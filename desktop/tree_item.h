#pragma once

#include <wx/treebase.h>

#include <string>

namespace velmora::desktop {

/// What an item of the folder tree stands for.
enum class TreeItemKind {
    DrivesRoot,      ///< "Drives"
    Drive,           ///< a volume's root, child of "Drives"
    CurrentDirRoot,  ///< the process's current directory
    Folder,          ///< a folder inside a drive, the current directory or a folder
    File,            ///< a file inside the same
    Placeholder,     ///< the empty row of a collapsed item, or of one with nothing listed
};

/// The data every item of the folder tree carries: its kind and its name on
/// disk (for a drive, its root path), so that its path never depends on its
/// display name or on the shape of the tree.
class TreeItem : public wxTreeItemData {
  public:
    explicit TreeItem(TreeItemKind kind, std::string name = {})
        : kind(kind), name(std::move(name)) {}

    TreeItemKind Kind() const { return kind; }
    const std::string& Name() const { return name; }

  private:
    TreeItemKind kind;
    std::string name;
};

}  // namespace velmora::desktop
