#pragma once

#include <wx/treectrl.h>

#include <string>
#include <vector>

#include "desktop/tree_image_list.h"
#include "desktop/tree_item.h"

namespace velmora::platform {
class FolderSearch;
class Shell;
}  // namespace velmora::platform

namespace velmora::desktop {

/// Tree of "Drives" and the current directory from which the user picks a
/// file or folder. A folder is listed when it is expanded (its folders, then
/// the files filterIndex lets through) and dropped, with the images of its
/// items, when it is collapsed. Every item carries a TreeItem; every drive,
/// folder and file owns a pair of images in imageList (see TreeImageList).
class FolderTree : public wxTreeCtrl {
  public:
    static constexpr long DEFAULT_STYLE = wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE;

    /// Creates the control (its hidden root makes "Drives" and the current
    /// directory two top-level items) and fills it with Initialize(true). The
    /// shell and the search must outlive the tree.
    FolderTree(wxWindow* parent, wxWindowID id, const platform::Shell& shell,
               const platform::FolderSearch& search, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = DEFAULT_STYLE);
    ~FolderTree() override;

    /// Builds the image list and the two top-level items, both collapsed, and
    /// sets filterIndex to 0. With clearFirst, every item goes first.
    void Initialize(bool clearFirst);

    /// Full path of an item: "" for "Drives", a placeholder or an invalid id;
    /// folders, drives and the current directory end in the path separator,
    /// files do not.
    std::string GetItemPath(const wxTreeItemId& item) const;

    /// Releases the images of every descendant of item before removing them.
    void DeleteChildren(const wxTreeItemId& item) override;

    /// Which files folders expanded from now on list: a FileFilter index.
    int filterIndex = 0;

  private:
    // Listing and dropping.
    void OnItemExpanded(wxTreeEvent& event);
    bool IsListed(const wxTreeItemId& item) const;
    void PopulateItem(const wxTreeItemId& item);
    void PopulateDrives();
    void PopulateFolder(const wxTreeItemId& item);
    void DeleteChildren(const wxTreeItemId& item, bool addPlaceholder);
    wxTreeItemId InsertTreeItem(const wxString& text, const wxTreeItemId& parent,
                                bool withPlaceholder, int image, int selectedImage, TreeItem* data);
    wxTreeItemId InsertPathItem(const std::string& path, const wxTreeItemId& parent,
                                bool withPlaceholder, int image, TreeItem* data);
    wxTreeItemId InsertPlaceholder(const wxTreeItemId& parent);

    // The items' images.
    void CollectItemImages(const wxTreeItemId& item, std::vector<int>& images) const;
    void RenumberImages(const wxTreeItemId& subtreeRoot, const ImageRenumbering& renumbering);

    // Paths.
    const TreeItem* ItemOf(const wxTreeItemId& item) const;
    TreeItemKind KindOf(const wxTreeItemId& item) const;
    std::string BuildPath(std::string tail, const wxTreeItemId& item) const;

    // The '*' key.
    void OnExpandAllKey(wxKeyEvent& event);

    wxTreeItemId currentDirRoot;
    std::string currentDirectory;
    wxTreeItemId drivesRoot;
    TreeImageList imageList;
    const platform::Shell& shell;
    const platform::FolderSearch& folderSearch;
};

}  // namespace velmora::desktop
