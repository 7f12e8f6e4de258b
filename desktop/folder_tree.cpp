#include "desktop/folder_tree.h"

#include <wx/wupdlock.h>

#include "desktop/display_text.h"
#include "desktop/file_filter.h"
#include "platform/current_directory.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/wx/shell.h"

namespace velmora::desktop {
namespace {

using platform::PATH_SEPARATOR;

/// An image index that stands for "a pair of the item's own".
constexpr int OWN_IMAGES = -1;

/// The last component of a path that does not end in a separator.
std::string BaseName(const std::string& path) {
    const size_t separator = path.rfind(PATH_SEPARATOR);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool IsUtf8(const std::string& bytes) {
    return bytes.empty() || !wxString::FromUTF8(bytes.data(), bytes.size()).empty();
}

/// The text of an item; never empty, because an empty text marks the
/// placeholder. A name that is not UTF-8 is shown as the message boxes show
/// it, whatever the shell makes of it.
wxString ItemText(const std::string& displayName, const std::string& path) {
    const std::string name = BaseName(path);
    if (!IsUtf8(name)) {
        return ToDisplayText(name);
    }
    for (const std::string& candidate : {displayName, name, path}) {
        if (!candidate.empty()) {
            return ToDisplayText(candidate);
        }
    }
    return wxS("?");
}

/// Whether a key is the one that makes the tree expand everything below an
/// item: '*', also on the keypad.
bool IsExpandAllKey(int keyCode) {
    return keyCode == '*' || keyCode == WXK_MULTIPLY || keyCode == WXK_NUMPAD_MULTIPLY;
}

}  // namespace

FolderTree::FolderTree(wxWindow* parent, wxWindowID id, const platform::Shell& shell,
                       const platform::FolderSearch& search, const wxPoint& pos, const wxSize& size,
                       long style)
    : wxTreeCtrl(parent, id, pos, size, style | wxTR_HIDE_ROOT),
      imageList(shell.SmallIconSize()),
      shell(shell),
      folderSearch(search) {
    Bind(wxEVT_TREE_ITEM_EXPANDED, &FolderTree::OnItemExpanded, this);
    Bind(wxEVT_TREE_ITEM_COLLAPSED, &FolderTree::OnItemExpanded, this);
    Bind(wxEVT_KEY_DOWN, &FolderTree::OnExpandAllKey, this);
    Bind(wxEVT_CHAR, &FolderTree::OnExpandAllKey, this);
    Initialize(true);
}

FolderTree::~FolderTree() {
    // The control must not draw from the list once the list is gone.
    SetImageList(nullptr);
}

void FolderTree::Initialize(bool clearFirst) {
    if (clearFirst) {
        DeleteAllItems();
    }
    SetImageList(nullptr);
    filterIndex = 0;
    currentDirectory = platform::CurrentDirectory();
    imageList.Reset(shell.CurrentDirectoryIcon(), shell.DrivesIcon());
    SetImageList(imageList.ForControl());

    wxTreeItemId root = GetRootItem();
    if (!root.IsOk()) {
        root = AddRoot(wxEmptyString);
    }
    const int drivesImage = imageList.DrivesImage();
    drivesRoot = InsertTreeItem(wxS("Drives"), root, true, drivesImage, drivesImage,
                                new TreeItem(TreeItemKind::DrivesRoot));
    currentDirRoot = InsertPathItem(currentDirectory, root, true, imageList.CurrentDirectoryImage(),
                                    new TreeItem(TreeItemKind::CurrentDirRoot));
}

// ---- listing and dropping ----

void FolderTree::OnItemExpanded(wxTreeEvent& event) {
    event.Skip();
    const wxTreeItemId item = event.GetItem();
    if (!item.IsOk()) {
        return;
    }
    if (IsExpanded(item)) {
        // wxMSW reports an expansion again when Expand() is called for an
        // item that is expanded already: what is listed stays as it is.
        if (!IsListed(item)) {
            PopulateItem(item);
        }
    } else {
        DeleteChildren(item, true);
    }
}

/// Whether the item's contents are listed (its first child is not the
/// placeholder).
bool FolderTree::IsListed(const wxTreeItemId& item) const {
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = GetFirstChild(item, cookie);
    return first.IsOk() && KindOf(first) != TreeItemKind::Placeholder;
}

// Filled with redrawing suspended: a tree view that is shown repaints (and
// recomputes its scroll bars) once per item inserted into an expanded item,
// seconds per thousand items; suspended, it repaints once at the end.
void FolderTree::PopulateItem(const wxTreeItemId& item) {
    const wxWindowUpdateLocker noRedraw(this);
    if (item == drivesRoot) {
        PopulateDrives();
    } else {
        PopulateFolder(item);
    }
}

// Each drive item keeps its root in its TreeItem, so that its path never
// depends on its position among the drives.
void FolderTree::PopulateDrives() {
    DeleteChildren(drivesRoot, false);
    const std::vector<std::string> driveStrings = shell.VolumeRoots();
    if (driveStrings.empty()) {
        InsertPlaceholder(drivesRoot);
        return;
    }
    for (const std::string& drive : driveStrings) {
        InsertPathItem(drive, drivesRoot, true, OWN_IMAGES,
                       new TreeItem(TreeItemKind::Drive, drive));
    }
    imageList.AddQueued();
}

void FolderTree::PopulateFolder(const wxTreeItemId& item) {
    const std::string path = GetItemPath(item);
    DeleteChildren(item, false);
    std::vector<platform::FolderEntry> entries;
    if (!path.empty()) {
        entries = folderSearch.Find(path + "*.*");
    }
    bool listedAny = false;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isDirectory) {
            InsertPathItem(path + entry.name, item, true, OWN_IMAGES,
                           new TreeItem(TreeItemKind::Folder, entry.name));
            listedAny = true;
        }
    }
    for (const platform::FolderEntry& entry : entries) {
        if (!entry.isDirectory && FileFilter::Shows(filterIndex, entry.name)) {
            InsertPathItem(path + entry.name, item, false, OWN_IMAGES,
                           new TreeItem(TreeItemKind::File, entry.name));
            listedAny = true;
        }
    }
    imageList.AddQueued();
    if (!listedAny) {
        InsertPlaceholder(item);
    }
}

void FolderTree::DeleteChildren(const wxTreeItemId& item) {
    DeleteChildren(item, false);
}

// Emptied with redrawing suspended, for the same reason as PopulateItem: the
// native tree view works out its scroll bars anew after every item removed.
void FolderTree::DeleteChildren(const wxTreeItemId& item, bool addPlaceholder) {
    const wxWindowUpdateLocker noRedraw(this);
    std::vector<int> images;
    CollectItemImages(item, images);
    wxTreeCtrl::DeleteChildren(item);
    const ImageRenumbering renumbering = imageList.Remove(std::move(images));
    if (!renumbering.IsIdentity()) {
        RenumberImages(GetRootItem(), renumbering);
    }
    if (addPlaceholder) {
        InsertPlaceholder(item);
    }
}

wxTreeItemId FolderTree::InsertTreeItem(const wxString& text, const wxTreeItemId& parent,
                                        bool withPlaceholder, int image, int selectedImage,
                                        TreeItem* data) {
    wxTreeItemId item = AppendItem(parent, text, image, selectedImage, data);
    if (withPlaceholder) {
        InsertPlaceholder(item);
    }
    return item;
}

// The item shows `image` (a stock icon) in both states, or with OWN_IMAGES
// the shell's icon and open icon for the path, a pair of its own.
wxTreeItemId FolderTree::InsertPathItem(const std::string& path, const wxTreeItemId& parent,
                                        bool withPlaceholder, int image, TreeItem* data) {
    const platform::ShellItemInfo info = shell.Describe(path);
    int selectedImage = image;
    if (image == OWN_IMAGES) {
        image = imageList.Queue(info.icon, info.openIcon);
        selectedImage = image + 1;
    }
    return InsertTreeItem(ItemText(info.displayName, path), parent, withPlaceholder, image,
                          selectedImage, data);
}

wxTreeItemId FolderTree::InsertPlaceholder(const wxTreeItemId& parent) {
    return AppendItem(parent, wxEmptyString, TreeImageList::PLACEHOLDER_IMAGE,
                      TreeImageList::PLACEHOLDER_IMAGE, new TreeItem(TreeItemKind::Placeholder));
}

// ---- the items' images ----

// The first image of the pair of every item below `item`.
void FolderTree::CollectItemImages(const wxTreeItemId& item, std::vector<int>& images) const {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk();
         child = GetNextChild(item, cookie)) {
        CollectItemImages(child, images);
        images.push_back(GetItemImage(child, wxTreeItemIcon_Normal));
    }
}

void FolderTree::RenumberImages(const wxTreeItemId& subtreeRoot,
                                const ImageRenumbering& renumbering) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(subtreeRoot, cookie); child.IsOk();
         child = GetNextChild(subtreeRoot, cookie)) {
        for (wxTreeItemIcon which : {wxTreeItemIcon_Normal, wxTreeItemIcon_Selected}) {
            const int image = GetItemImage(child, which);
            const int renumbered = renumbering.NewIndex(image);
            if (renumbered != image) {
                SetItemImage(child, renumbered, which);
            }
        }
        RenumberImages(child, renumbering);
    }
}

// ---- paths ----

/// The item's own data; null for the hidden root or an invalid item.
const TreeItem* FolderTree::ItemOf(const wxTreeItemId& item) const {
    return item.IsOk() ? dynamic_cast<const TreeItem*>(GetItemData(item)) : nullptr;
}

/// Placeholder for the hidden root or an invalid id.
TreeItemKind FolderTree::KindOf(const wxTreeItemId& item) const {
    const TreeItem* data = ItemOf(item);
    return data != nullptr ? data->Kind() : TreeItemKind::Placeholder;
}

// Composes the path from the item upwards; `tail` is what lies below it.
std::string FolderTree::BuildPath(std::string tail, const wxTreeItemId& item) const {
    const TreeItem* data = ItemOf(item);
    if (data == nullptr) {
        return std::string();
    }
    switch (data->Kind()) {
        case TreeItemKind::DrivesRoot:
        case TreeItemKind::Placeholder:
            return std::string();
        case TreeItemKind::Drive:
            return data->Name() + tail;
        case TreeItemKind::CurrentDirRoot:
            // An unknown current directory has no path at all, rather than "/".
            return currentDirectory.empty() ? std::string()
                                            : currentDirectory + PATH_SEPARATOR + tail;
        case TreeItemKind::Folder:
            return BuildPath(data->Name() + PATH_SEPARATOR + tail, GetItemParent(item));
        case TreeItemKind::File:
            return BuildPath(data->Name() + tail, GetItemParent(item));
    }
    return std::string();
}

std::string FolderTree::GetItemPath(const wxTreeItemId& item) const {
    return BuildPath(std::string(), item);
}

// ---- the '*' key ----

// The tree's own "expand everything below" would follow folder links (a
// link to "." or to /proc) without end: '*' expands the focused item one
// level, as a click on its button does, and nothing more. Both the key-down
// and the character event come here.
//
// The keypad's '*' is a key of its own and is caught at key-down, before the
// control sees it: the native Windows tree view expands everything below on
// VK_MULTIPLY right after it has told its parent of the key (the tree's
// wxEVT_TREE_KEY_DOWN), whatever the parent answers, so the key must not
// reach it at all. The generic tree (GTK) has the same "expand everything
// below" in its own key handling.
//
// The '*' typed with Shift comes down as the key beneath it ('8' on a US
// keyboard): only its character tells it apart, so it is caught as a
// character, before the generic tree's own character handler or the native
// tree view gets it.
void FolderTree::OnExpandAllKey(wxKeyEvent& event) {
    if (!IsExpandAllKey(event.GetKeyCode())) {
        event.Skip();
        return;
    }
    const wxTreeItemId item = GetFocusedItem();
    if (item.IsOk() && ItemHasChildren(item) && !IsExpanded(item)) {
        Expand(item);
    }
}

}  // namespace velmora::desktop
