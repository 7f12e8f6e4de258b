#pragma once

#include <wx/imaglist.h>
#include <wx/treectrl.h>

#include <string>
#include <vector>

#include "desktop/tree_item.h"

namespace velmora::platform {
class FolderSearch;
class Shell;
}  // namespace velmora::platform

namespace velmora::desktop {

/// Tree of "Drives" and the current directory from which the user picks a
/// file or folder. Items are read lazily: a folder's contents are listed when
/// it is expanded (folders first, then the files that IsFileShown accepts) and
/// dropped, with their images, when it is collapsed.
///
/// Every drive, folder and file item owns two images in the image list
/// (normal, then open = normal + 1). The list always holds the blank images,
/// the two stock icons and exactly two images per listed item.
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

    /// What the item stands for; Placeholder for the hidden root or an
    /// invalid id.
    TreeItemKind GetItemKind(const wxTreeItemId& item) const;

    /// Whether a file with this name on disk is listed under filterIndex (see
    /// FileFilter).
    virtual bool IsFileShown(std::string fileName) const;

    /// Releases the images of every descendant of item (so the image list
    /// stays exact) before removing them.
    void DeleteChildren(const wxTreeItemId& item) override;

    wxTreeItemId GetDrivesRoot() const { return drivesRoot; }
    wxTreeItemId GetCurrentDirRoot() const { return currentDirRoot; }
    const std::string& GetCurrentDirectory() const { return currentDirectory; }
    const std::vector<std::string>& GetDriveStrings() const { return driveStrings; }
    /// Index of the first image that belongs to a listed item: the blank
    /// images and the two stock icons lie below it.
    int GetFirstItemImage() const { return firstItemImage; }
    int GetCurrentDirImage() const { return currentDirImage; }
    int GetDrivesImage() const { return drivesImage; }

    /// Which files are listed in folders expanded from now on.
    int filterIndex = 0;

  private:
    void OnItemExpanded(wxTreeEvent& event);
    /// Takes '*' (as a key or as a character) before the control does.
    void OnExpandAllKey(wxKeyEvent& event);
    void ExpandFocusedItemOneLevel();

    wxTreeItemId InsertTreeItem(const wxString& text, const wxTreeItemId& parent,
                                bool withPlaceholder, int image, int selectedImage, TreeItem* data);
    wxTreeItemId InsertPathItem(const std::string& path, const wxTreeItemId& parent,
                                bool withPlaceholder, int image, int selectedImage, TreeItem* data);
    wxTreeItemId InsertPlaceholder(const wxTreeItemId& parent);
    /// The index `bitmap` will have once AddQueuedImages() has added it.
    int QueueImage(const wxBitmap& bitmap);
    void AddQueuedImages();
    void AppendImages(const std::vector<wxBitmap>& bitmaps);
    /// Whether the item's contents are listed (its first child is not the
    /// placeholder).
    bool IsListed(const wxTreeItemId& item) const;
    void PopulateItem(const wxTreeItemId& item);
    void PopulateDrives();
    void PopulateFolder(const wxTreeItemId& item);
    void DeleteChildren(const wxTreeItemId& item, bool addPlaceholder);
    void CollectImages(const wxTreeItemId& item, std::vector<int>& images) const;
    void RenumberImages(const wxTreeItemId& subtreeRoot, const std::vector<int>& removedIndexes);
    void RemoveImages(const std::vector<int>& sortedIndexes);
    /// The item's own data; null for the hidden root or an invalid item.
    const TreeItem* ItemOf(const wxTreeItemId& item) const;
    std::string BuildPath(std::string tail, const wxTreeItemId& item) const;
    void BuildImageList();

    wxTreeItemId currentDirRoot;
    std::string currentDirectory;
    wxTreeItemId drivesRoot;
    std::vector<std::string> driveStrings;
    wxImageList imageList;
    /// Images of items inserted since the last AddQueuedImages(), in order.
    std::vector<wxBitmap> queuedImages;
    /// The bitmap of every image in imageList, in order (reading them back
    /// from a native list is slow).
    std::vector<wxBitmap> imageCopies;

    int firstItemImage = 0;
    int currentDirImage = -1;
    int drivesImage = -1;
    const platform::Shell& shell;
    const platform::FolderSearch& folderSearch;
};

}  // namespace velmora::desktop
