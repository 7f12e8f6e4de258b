#include "desktop/folder_tree.h"

#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <map>

#include "desktop/display_text.h"
#include "desktop/file_filter.h"
#include "platform/current_directory.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/wx/shell.h"

namespace velmora::desktop {
namespace {

using platform::PATH_SEPARATOR;

/// Width and height of the bitmap the blank images are cut from.
constexpr int kBlankBitmapSize = 32;
/// The image the placeholder shows (the first blank image).
constexpr int kPlaceholderImage = 0;
/// Up to this many images above a cut are removed from the image list one by
/// one; more, and the list is filled anew.
constexpr int kMostSingleRemovals = 8;

/// Whether the image list is the system's (Windows' image list: one bitmap
/// that grows) rather than wxWidgets' own (a bitmap per image, as on GTK).
#ifdef wxHAS_NATIVE_IMAGELIST
constexpr bool kNativeImageList = true;
#else
constexpr bool kNativeImageList = false;
#endif

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
      imageList(shell.SmallIconSize().GetWidth(), shell.SmallIconSize().GetHeight(), false, 50),
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
    BuildImageList();
    SetImageList(&imageList);

    wxTreeItemId root = GetRootItem();
    if (!root.IsOk()) {
        root = AddRoot(wxEmptyString);
    }
    drivesRoot = InsertTreeItem(wxS("Drives"), root, true, drivesImage, drivesImage,
                                new TreeItem(TreeItemKind::DrivesRoot));
    currentDirRoot = InsertPathItem(currentDirectory, root, true, currentDirImage, currentDirImage,
                                    new TreeItem(TreeItemKind::CurrentDirRoot));
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
    if (shell.SmallIconSize().GetWidth() <= kBlankBitmapSize) {
        imageList.Add(blank);
    }
    currentDirImage = imageList.Add(shell.CurrentDirectoryIcon());
    drivesImage = imageList.Add(shell.DrivesIcon());
    firstItemImage = imageList.GetImageCount();
    imageCopies.clear();
    for (int index = 0; index < firstItemImage; ++index) {
        imageCopies.push_back(imageList.GetBitmap(index));
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

wxTreeItemId FolderTree::InsertPathItem(const std::string& path, const wxTreeItemId& parent,
                                        bool withPlaceholder, int image, int selectedImage,
                                        TreeItem* data) {
    const platform::ShellItemInfo info = shell.Describe(path);
    if (image == -1) {
        image = QueueImage(info.icon);
    }
    if (selectedImage == -1) {
        selectedImage = QueueImage(info.openIcon);
    }
    return InsertTreeItem(ItemText(info.displayName, path), parent, withPlaceholder, image,
                          selectedImage, data);
}

int FolderTree::QueueImage(const wxBitmap& bitmap) {
    queuedImages.push_back(bitmap);
    return imageList.GetImageCount() + static_cast<int>(queuedImages.size()) - 1;
}

void FolderTree::AddQueuedImages() {
    AppendImages(queuedImages);
    queuedImages.clear();
}

// Adding images one at a time makes the native list grow its storage (and
// copy all of it) once per image: time in the square of the list's length.
// There all of them go in at once, as one strip of images side by side,
// which the list cuts into single images. wxWidgets' own list takes them one
// by one (cut from a strip, each would keep a row as long as the strip's).
void FolderTree::AppendImages(const std::vector<wxBitmap>& bitmaps) {
    if (bitmaps.empty()) {
        return;
    }
    imageCopies.insert(imageCopies.end(), bitmaps.begin(), bitmaps.end());
    if (!kNativeImageList) {
        for (const wxBitmap& bitmap : bitmaps) {
            imageList.Add(bitmap);
        }
        return;
    }
    const wxSize size = imageList.GetSize();
    const int width = size.GetWidth();
    const int height = size.GetHeight();
    wxImage strip(width * static_cast<int>(bitmaps.size()), height);
    strip.InitAlpha();
    unsigned char* const rgb = strip.GetData();
    unsigned char* const alpha = strip.GetAlpha();
    const int stripWidth = strip.GetWidth();
    // Items of one kind share their icons: each picture is converted once.
    std::map<const wxObjectRefData*, wxImage> converted;
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        wxImage& image = converted[bitmaps[i].GetRefData()];
        if (!image.IsOk()) {
            image = bitmaps[i].ConvertToImage();
            if (image.GetWidth() != width || image.GetHeight() != height) {
                image.Rescale(width, height);
            }
            if (!image.HasAlpha()) {
                image.InitAlpha();  // from the mask, or opaque
            }
        }
        const int x = width * static_cast<int>(i);
        for (int y = 0; y < height; ++y) {
            std::copy_n(image.GetData() + 3 * y * width, 3 * width, rgb + 3 * (y * stripWidth + x));
            std::copy_n(image.GetAlpha() + y * width, width, alpha + y * stripWidth + x);
        }
    }
    imageList.Add(wxBitmap(strip, 32));
}

wxTreeItemId FolderTree::InsertPlaceholder(const wxTreeItemId& parent) {
    return AppendItem(parent, wxEmptyString, kPlaceholderImage, kPlaceholderImage,
                      new TreeItem(TreeItemKind::Placeholder));
}

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

// The tree's own "expand everything below" would follow folder links (a
// link to "." or to /proc) without end: '*' expands the current item one
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
    ExpandFocusedItemOneLevel();
}

void FolderTree::ExpandFocusedItemOneLevel() {
    const wxTreeItemId item = GetFocusedItem();
    if (item.IsOk() && ItemHasChildren(item) && !IsExpanded(item)) {
        Expand(item);
    }
}

bool FolderTree::IsListed(const wxTreeItemId& item) const {
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = GetFirstChild(item, cookie);
    return first.IsOk() && GetItemKind(first) != TreeItemKind::Placeholder;
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

void FolderTree::PopulateDrives() {
    DeleteChildren(drivesRoot, false);
    driveStrings = shell.VolumeRoots();
    if (driveStrings.empty()) {
        InsertPlaceholder(drivesRoot);
        return;
    }
    for (const std::string& drive : driveStrings) {
        InsertPathItem(drive, drivesRoot, true, -1, -1, new TreeItem(TreeItemKind::Drive, drive));
    }
    AddQueuedImages();
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
            InsertPathItem(path + entry.name, item, true, -1, -1,
                           new TreeItem(TreeItemKind::Folder, entry.name));
            listedAny = true;
        }
    }
    for (const platform::FolderEntry& entry : entries) {
        if (!entry.isDirectory && IsFileShown(entry.name)) {
            InsertPathItem(path + entry.name, item, false, -1, -1,
                           new TreeItem(TreeItemKind::File, entry.name));
            listedAny = true;
        }
    }
    AddQueuedImages();
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
    // The images below the lowest removed one stay; the survivors above it
    // move down. Each removal from the native Windows list moves every image
    // behind it: when more than a few images lie above the cut, the list is
    // emptied at once and filled again from the copies of its images, which
    // also spares reading images back from the list.
    const int lowest = sortedIndexes.front();
    const int count = imageList.GetImageCount();
    std::vector<wxBitmap> survivors;
    auto removed = sortedIndexes.begin();
    for (int index = lowest; index < count; ++index) {
        if (removed != sortedIndexes.end() && *removed == index) {
            ++removed;
        } else {
            survivors.push_back(imageCopies[index]);
        }
    }
    imageCopies.resize(lowest);
    if (count - lowest <= kMostSingleRemovals) {
        for (int index = count - 1; index >= lowest; --index) {
            imageList.Remove(index);
        }
        AppendImages(survivors);
        return;
    }
    std::vector<wxBitmap> kept = std::move(imageCopies);
    imageCopies.clear();
    kept.insert(kept.end(), survivors.begin(), survivors.end());
    imageList.RemoveAll();
    AppendImages(kept);
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

const TreeItem* FolderTree::ItemOf(const wxTreeItemId& item) const {
    return item.IsOk() ? dynamic_cast<const TreeItem*>(GetItemData(item)) : nullptr;
}

TreeItemKind FolderTree::GetItemKind(const wxTreeItemId& item) const {
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

bool FolderTree::IsFileShown(std::string fileName) const {
    return FileFilter::Shows(filterIndex, fileName);
}

}  // namespace velmora::desktop
