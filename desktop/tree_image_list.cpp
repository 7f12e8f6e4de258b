#include "desktop/tree_image_list.h"

#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <algorithm>
#include <map>

namespace velmora::desktop {
namespace {

/// Width and height of the bitmap the blank images are cut from.
constexpr int BLANK_BITMAP_SIZE = 32;
/// Up to this many images above the lowest removed one are removed from the
/// list one by one; more, and the list is filled anew.
constexpr int MOST_SINGLE_REMOVALS = 8;

/// Whether the image list is the system's (Windows' image list: one bitmap
/// that grows) rather than wxWidgets' own (a bitmap per image, as on GTK).
#ifdef wxHAS_NATIVE_IMAGELIST
constexpr bool NATIVE_IMAGE_LIST = true;
#else
constexpr bool NATIVE_IMAGE_LIST = false;
#endif

/// `bitmap` as an image of exactly `size`, with an alpha channel (from the
/// mask, or opaque).
wxImage ImageAtSize(const wxBitmap& bitmap, const wxSize& size) {
    wxImage image = bitmap.ConvertToImage();
    if (image.GetSize() != size) {
        image.Rescale(size.GetWidth(), size.GetHeight());
    }
    if (!image.HasAlpha()) {
        image.InitAlpha();
    }
    return image;
}

/// The bitmaps side by side in one image, each at `size`. Items of one kind
/// share their icons: each picture is converted once.
wxImage Strip(const std::vector<wxBitmap>& bitmaps, const wxSize& size) {
    const int width = size.GetWidth();
    const int height = size.GetHeight();
    wxImage strip(width * static_cast<int>(bitmaps.size()), height);
    strip.InitAlpha();
    unsigned char* const rgb = strip.GetData();
    unsigned char* const alpha = strip.GetAlpha();
    const int stripWidth = strip.GetWidth();
    std::map<const wxObjectRefData*, wxImage> converted;
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        wxImage& image = converted[bitmaps[i].GetRefData()];
        if (!image.IsOk()) {
            image = ImageAtSize(bitmaps[i], size);
        }
        const int x = width * static_cast<int>(i);
        for (int y = 0; y < height; ++y) {
            std::copy_n(image.GetData() + 3 * y * width, 3 * width, rgb + 3 * (y * stripWidth + x));
            std::copy_n(image.GetAlpha() + y * width, width, alpha + y * stripWidth + x);
        }
    }
    return strip;
}

}  // namespace

int ImageRenumbering::NewIndex(int index) const {
    const auto below = std::lower_bound(removedIndexes.begin(), removedIndexes.end(), index);
    return index - static_cast<int>(below - removedIndexes.begin());
}

TreeImageList::TreeImageList(const wxSize& iconSize)
    : imageList(iconSize.GetWidth(), iconSize.GetHeight(), false, 50) {}

void TreeImageList::Reset(const wxBitmap& currentDirectoryIcon, const wxBitmap& drivesIcon) {
    imageList.RemoveAll();
    queued.clear();
    copies.clear();
    wxBitmap blank(BLANK_BITMAP_SIZE, BLANK_BITMAP_SIZE, 24);
    {
        wxMemoryDC dc(blank);
        dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
        dc.Clear();
    }
    // The list cuts as many blank images from the bitmap as icon widths fit.
    if (imageList.GetSize().GetWidth() <= BLANK_BITMAP_SIZE) {
        imageList.Add(blank);
    }
    currentDirectoryImage = imageList.Add(currentDirectoryIcon);
    drivesImage = imageList.Add(drivesIcon);
    fixedImageCount = imageList.GetImageCount();
    for (int index = 0; index < fixedImageCount; ++index) {
        copies.push_back(imageList.GetBitmap(index));
    }
}

int TreeImageList::Queue(const wxBitmap& icon, const wxBitmap& openIcon) {
    queued.push_back(icon);
    queued.push_back(openIcon);
    return imageList.GetImageCount() + static_cast<int>(queued.size()) - 2;
}

void TreeImageList::AddQueued() {
    Append(queued);
    queued.clear();
}

ImageRenumbering TreeImageList::Remove(std::vector<int> itemImages) {
    wxASSERT_MSG(queued.empty(), "images removed while others wait to be added");
    std::vector<int> indexes;
    for (const int image : itemImages) {
        if (image >= fixedImageCount && (image - fixedImageCount) % 2 == 0 &&
            image + 1 < imageList.GetImageCount()) {
            indexes.push_back(image);
            indexes.push_back(image + 1);
        }
    }
    if (indexes.empty()) {
        return ImageRenumbering();
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    RemoveSorted(indexes);
    return ImageRenumbering(std::move(indexes));
}

// Adding images one at a time makes the native list grow its storage (and
// copy all of it) once per image: time in the square of the list's length.
// There all of them go in at once, as one strip of images side by side,
// which the list cuts into single images. wxWidgets' own list takes them one
// by one (cut from a strip, each would keep a row as long as the strip's).
void TreeImageList::Append(const std::vector<wxBitmap>& bitmaps) {
    if (bitmaps.empty()) {
        return;
    }
    copies.insert(copies.end(), bitmaps.begin(), bitmaps.end());
    const wxSize size = imageList.GetSize();
    if (NATIVE_IMAGE_LIST) {
        imageList.Add(wxBitmap(Strip(bitmaps, size), 32));
        return;
    }
    for (const wxBitmap& bitmap : bitmaps) {
        // A bitmap of another width would give the list no image, or several.
        imageList.Add(bitmap.GetSize() == size ? bitmap : wxBitmap(ImageAtSize(bitmap, size)));
    }
}

// The images below the lowest removed one stay; the survivors above it move
// down. Each removal from the native Windows list moves every image behind
// it: when more than a few images lie above the cut, the list is emptied at
// once and filled again from the copies of its images, which also spares
// reading images back from the list.
void TreeImageList::RemoveSorted(const std::vector<int>& sortedIndexes) {
    const int lowest = sortedIndexes.front();
    const int count = imageList.GetImageCount();
    std::vector<wxBitmap> survivors;
    auto removed = sortedIndexes.begin();
    for (int index = lowest; index < count; ++index) {
        if (removed != sortedIndexes.end() && *removed == index) {
            ++removed;
        } else {
            survivors.push_back(copies[index]);
        }
    }
    copies.resize(lowest);
    if (count - lowest <= MOST_SINGLE_REMOVALS) {
        for (int index = count - 1; index >= lowest; --index) {
            imageList.Remove(index);
        }
        Append(survivors);
        return;
    }
    std::vector<wxBitmap> kept = std::move(copies);
    copies.clear();
    kept.insert(kept.end(), survivors.begin(), survivors.end());
    imageList.RemoveAll();
    Append(kept);
}

}  // namespace velmora::desktop
