#pragma once

#include <wx/imaglist.h>
#include <wx/treectrl.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/themed_icon_cache.h"

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
    static constexpr long kDefaultStyle = wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE;
    /// Width and height of every image in the list.
    static constexpr int kIconSize = 16;

    FolderTree();
    FolderTree(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = kDefaultStyle);
    ~FolderTree() override;

    /// Creates the control (its hidden root makes "Drives" and the current
    /// directory two top-level items), then calls Initialize(true).
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = kDefaultStyle);

    /// Replaces the shell and folder-search services (the real ones are used
    /// by default). Takes effect for everything read afterwards; call
    /// Initialize(true) to rebuild the top-level items with them.
    void UsePlatform(std::shared_ptr<const platform::Shell> shell,
                     std::shared_ptr<const platform::FolderSearch> search);

    /// Builds the image list and the two top-level items, both collapsed, and
    /// sets filterIndex to 0.
    void Initialize(bool clearFirst);

    /// Full path of an item: "" for "Drives", a placeholder or an invalid id;
    /// folders, drives and the current directory end in '/', files do not.
    std::string GetItemPath(const wxTreeItemId& item) const;

    /// Whether a file with this name on disk is listed under filterIndex:
    /// 0 = ends in ".txt", 1 = ends in ".ser" (byte for byte), other = all.
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

    wxTreeItemId InsertTreeItem(const wxString& text, const wxTreeItemId& parent,
                                bool withPlaceholder, int image, int selectedImage,
                                const std::string& nameOnDisk);
    wxTreeItemId InsertPathItem(const std::string& path, const wxTreeItemId& parent,
                                bool withPlaceholder, int image, int selectedImage);
    wxTreeItemId InsertPlaceholder(const wxTreeItemId& parent);
    void PopulateItem(const wxTreeItemId& item);
    void PopulateDrives();
    void PopulateFolder(const wxTreeItemId& item);
    void DeleteChildren(const wxTreeItemId& item, bool addPlaceholder);
    void CollectImages(const wxTreeItemId& item, std::vector<int>& images) const;
    void RenumberImages(const wxTreeItemId& subtreeRoot, const std::vector<int>& removedIndexes);
    void RemoveImages(const std::vector<int>& sortedIndexes);
    std::string BuildPath(std::string tail, const wxTreeItemId& item) const;
    void BuildImageList();

    wxTreeItemId currentDirRoot;
    std::string currentDirectory;
    wxTreeItemId drivesRoot;
    std::vector<std::string> driveStrings;
    wxImageList imageList;

    int firstItemImage = 0;
    int currentDirImage = -1;
    int drivesImage = -1;
    std::shared_ptr<const platform::Shell> shell;
    std::shared_ptr<const platform::FolderSearch> folderSearch;
    ThemedIconCache icons;
};

}  // namespace velmora::desktop
