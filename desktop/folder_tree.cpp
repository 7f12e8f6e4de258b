#include "desktop/folder_tree.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

#include <unistd.h>
#include <algorithm>
#include <cstdlib>

#include "core/selection.h"
#include "desktop/display_text.h"
#include "platform/folder_search.h"
#include "platform/gio_shell.h"

namespace velmora::desktop {
namespace {

/// Width and height of the bitmap the blank images are cut from.
constexpr int kBlankBitmapSize = 32;
/// The image the placeholder shows (the first blank image).
constexpr int kPlaceholderImage = 0;

/// The name on disk of a folder or file item, kept with it so that its path
/// never depends on the display name.
class NameOnDisk : public wxTreeItemData {
  public:
    explicit NameOnDisk(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }

  private:
    std::string name_;
};

std::string CurrentDirectory() {
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}

/// The last component of a path that does not end in '/'.
std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The text of an item; never empty, because an empty text marks the
/// placeholder.
wxString ItemText(const std::string& displayName, const std::string& path) {
    for (const std::string& candidate : {displayName, BaseName(path), path}) {
        if (candidate.empty()) {
            continue;
        }
        return ToDisplayText(candidate);
    }
    return wxS("?");
}

}  // namespace

FolderTree::FolderTree()
    : imageList(kIconSize, kIconSize, false, 50),
      shell(std::make_shared<platform::GioShell>()),
      folderSearch(std::make_shared<platform::RealFolderSearch>()),
      icons(kIconSize) {
    Bind(wxEVT_TREE_ITEM_EXPANDED, &FolderTree::OnItemExpanded, this);
    Bind(wxEVT_TREE_ITEM_COLLAPSED, &FolderTree::OnItemExpanded, this);
}

FolderTree::FolderTree(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       long style)
    : FolderTree() {
    Create(parent, id, pos, size, style);
}

FolderTree::~FolderTree() {
    // The control must not draw from the list once the list is gone.
    SetImageList(nullptr);
}

bool FolderTree::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                        long style) {
    if (!wxTreeCtrl::Create(parent, id, pos, size, style | wxTR_HIDE_ROOT)) {
        return false;
    }
    Initialize(true);
    return true;
}

void FolderTree::UsePlatform(std::shared_ptr<const platform::Shell> newShell,
                             std::shared_ptr<const platform::FolderSearch> newSearch) {
    shell = std::move(newShell);
    folderSearch = std::move(newSearch);
}

void FolderTree::Initialize(bool clearFirst) {
    if (clearFirst) {
        DeleteAllItems();
    }
    SetImageList(nullptr);
    filterIndex = 0;
    currentDirectory = CurrentDirectory();
    BuildImageList();
    SetImageList(&imageList);

    wxTreeItemId root = GetRootItem();
    if (!root.IsOk()) {
        root = AddRoot(wxEmptyString);
    }
    drivesRoot = InsertTreeItem(wxS("Drives"), root, true, drivesImage, drivesImage, "");
    currentDirRoot = InsertPathItem(currentDirectory, root, true, currentDirImage, currentDirImage);
}

void FolderTree::BuildImageList() {
    imageList.RemoveAll();
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    wxBitmap blank(kBlankBitmapSize, kBlankBitmapSize, 24);
    {
        wxMemoryDC dc(blank);
        dc.SetBackground(wxBrush(window));
        dc.Clear();
    }
    // The list cuts as many blank images from the bitmap as icon widths fit.
    if (kIconSize <= kBlankBitmapSize) {
        imageList.Add(blank);
    }
    currentDirImage = imageList.Add(icons.Get({"folder"}, wxART_FOLDER));
    drivesImage = imageList.Add(icons.Get({"drive-harddisk", "computer"}, wxART_HARDDISK));
    firstItemImage = imageList.GetImageCount();
}

wxTreeItemId FolderTree::InsertTreeItem(const wxString& text, const wxTreeItemId& parent,
                                        bool withPlaceholder, int image, int selectedImage,
                                        const std::string& nameOnDisk) {
    wxTreeItemId item = AppendItem(parent, text, image, selectedImage,
                                   nameOnDisk.empty() ? nullptr : new NameOnDisk(nameOnDisk));
    if (withPlaceholder) {
        InsertPlaceholder(item);
    }
    return item;
}

wxTreeItemId FolderTree::InsertPathItem(const std::string& path, const wxTreeItemId& parent,
                                        bool withPlaceholder, int image, int selectedImage) {
    const platform::ShellItemInfo info = shell->Describe(path);
    if (image == -1) {
        image = imageList.Add(
            icons.Get(info.iconNames, info.isDirectory ? wxART_FOLDER : wxART_NORMAL_FILE));
    }
    if (selectedImage == -1) {
        selectedImage = imageList.Add(icons.Get(
            info.openIconNames, info.isDirectory ? wxART_FOLDER_OPEN : wxART_NORMAL_FILE));
    }
    const bool isEntry = parent != drivesRoot && parent != GetRootItem();
    return InsertTreeItem(ItemText(info.displayName, path), parent, withPlaceholder, image,
                          selectedImage, isEntry ? BaseName(path) : std::string());
}

wxTreeItemId FolderTree::InsertPlaceholder(const wxTreeItemId& parent) {
    return AppendItem(parent, wxEmptyString, kPlaceholderImage, kPlaceholderImage);
}

void FolderTree::OnItemExpanded(wxTreeEvent& event) {
    event.Skip();
    const wxTreeItemId item = event.GetItem();
    if (!item.IsOk()) {
        return;
    }
    if (IsExpanded(item)) {
        PopulateItem(item);
    } else {
        DeleteChildren(item, true);
    }
}

void FolderTree::PopulateItem(const wxTreeItemId& item) {
    if (item == drivesRoot) {
        PopulateDrives();
    } else {
        PopulateFolder(item);
    }
}

void FolderTree::PopulateDrives() {
    DeleteChildren(drivesRoot, false);
    driveStrings = shell->VolumeRoots();
    if (driveStrings.empty()) {
        InsertPlaceholder(drivesRoot);
        return;
    }
    for (const std::string& drive : driveStrings) {
        InsertPathItem(drive, drivesRoot, true, -1, -1);
    }
}

void FolderTree::PopulateFolder(const wxTreeItemId& item) {
    // Taken while the placeholder is still there, so the path ends in '/'.
    const std::string path = BuildPath(std::string(), item);
    DeleteChildren(item, false);
    std::vector<platform::FolderEntry> entries;
    if (!path.empty()) {
        entries = folderSearch->Find(path + "*.*");
    }
    bool listedAny = false;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isDirectory) {
            InsertPathItem(path + entry.name, item, true, -1, -1);
            listedAny = true;
        }
    }
    for (const platform::FolderEntry& entry : entries) {
        if (!entry.isDirectory && IsFileShown(entry.name)) {
            InsertPathItem(path + entry.name, item, false, -1, -1);
            listedAny = true;
        }
    }
    if (!listedAny) {
        InsertPlaceholder(item);
    }
}

void FolderTree::DeleteChildren(const wxTreeItemId& item) {
    DeleteChildren(item, false);
}

void FolderTree::DeleteChildren(const wxTreeItemId& item, bool addPlaceholder) {
    std::vector<int> images;
    CollectImages(item, images);
    wxTreeCtrl::DeleteChildren(item);
    if (!images.empty()) {
        std::sort(images.begin(), images.end());
        images.erase(std::unique(images.begin(), images.end()), images.end());
        RemoveImages(images);
        RenumberImages(GetRootItem(), images);
    }
    if (addPlaceholder) {
        InsertPlaceholder(item);
    }
}

void FolderTree::CollectImages(const wxTreeItemId& item, std::vector<int>& images) const {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk();
         child = GetNextChild(item, cookie)) {
        CollectImages(child, images);
        for (wxTreeItemIcon which : {wxTreeItemIcon_Normal, wxTreeItemIcon_Selected}) {
            const int image = GetItemImage(child, which);
            if (image >= firstItemImage) {
                images.push_back(image);
            }
        }
    }
}

void FolderTree::RemoveImages(const std::vector<int>& sortedIndexes) {
    // Only the images above the lowest removed one move: take the survivors
    // among them, cut the list there and append them again.
    const int lowest = sortedIndexes.front();
    const int count = imageList.GetImageCount();
    std::vector<wxBitmap> survivors;
    survivors.reserve(count - lowest);
    auto removed = sortedIndexes.begin();
    for (int index = lowest; index < count; ++index) {
        if (removed != sortedIndexes.end() && *removed == index) {
            ++removed;
        } else {
            survivors.push_back(imageList.GetBitmap(index));
        }
    }
    for (int index = count - 1; index >= lowest; --index) {
        imageList.Remove(index);
    }
    for (const wxBitmap& bitmap : survivors) {
        imageList.Add(bitmap);
    }
}

void FolderTree::RenumberImages(const wxTreeItemId& subtreeRoot,
                                const std::vector<int>& removedIndexes) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(subtreeRoot, cookie); child.IsOk();
         child = GetNextChild(subtreeRoot, cookie)) {
        for (wxTreeItemIcon which : {wxTreeItemIcon_Normal, wxTreeItemIcon_Selected}) {
            const int image = GetItemImage(child, which);
            const auto below =
                std::lower_bound(removedIndexes.begin(), removedIndexes.end(), image);
            if (below != removedIndexes.begin()) {
                SetItemImage(child, image - static_cast<int>(below - removedIndexes.begin()),
                             which);
            }
        }
        RenumberImages(child, removedIndexes);
    }
}

std::string FolderTree::BuildPath(std::string tail, const wxTreeItemId& item) const {
    if (!item.IsOk() || item == drivesRoot) {
        return std::string();
    }
    const wxTreeItemId parent = GetItemParent(item);
    wxTreeItemIdValue cookie;
    const bool hasChild = GetFirstChild(item, cookie).IsOk();

    if (parent == drivesRoot) {
        size_t position = 0;
        wxTreeItemIdValue driveCookie;
        for (wxTreeItemId drive = GetFirstChild(drivesRoot, driveCookie);
             drive.IsOk() && position < driveStrings.size();
             drive = GetNextChild(drivesRoot, driveCookie), ++position) {
            if (drive == item) {
                return driveStrings[position] + tail;
            }
        }
    } else if (item == currentDirRoot) {
        // An unknown current directory has no path at all, rather than "/".
        return currentDirectory.empty() ? std::string() : currentDirectory + "/" + tail;
    } else {
        if (const auto* name = dynamic_cast<const NameOnDisk*>(GetItemData(item))) {
            tail = name->Name() + "/" + tail;
        }
        tail = BuildPath(std::move(tail), parent);
    }
    if (!hasChild && !tail.empty()) {
        tail.pop_back();
    }
    return tail;
}

std::string FolderTree::GetItemPath(const wxTreeItemId& item) const {
    if (!item.IsOk() || GetItemText(item).empty()) {
        return std::string();
    }
    return BuildPath(std::string(), item);
}

bool FolderTree::IsFileShown(std::string fileName) const {
    switch (filterIndex) {
        case 0:
            return EndsWith(fileName, ".txt");
        case 1:
            return EndsWith(fileName, ".ser");
        default:
            return true;
    }
}

}  // namespace velmora::desktop
