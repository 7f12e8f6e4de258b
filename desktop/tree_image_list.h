#pragma once

#include <wx/bitmap.h>
#include <wx/imaglist.h>

#include <utility>
#include <vector>

namespace velmora::desktop {

/// Where the images that stayed in a TreeImageList went when others were
/// removed: each moved down by the number of removed images below it.
class ImageRenumbering {
  public:
    /// `removedIndexes` sorted, without repeats.
    explicit ImageRenumbering(std::vector<int> removedIndexes = {})
        : removedIndexes(std::move(removedIndexes)) {}

    /// The index now of the image that was at `index` (one that stayed).
    int NewIndex(int index) const;
    /// Whether every image kept its index.
    bool IsIdentity() const { return removedIndexes.empty(); }

  private:
    std::vector<int> removedIndexes;
};

/// The image list the folder tree draws from.
///
/// Invariant: the list holds the fixed images, then exactly two images per
/// listed item. The fixed images are the blank images (as many as icon
/// widths fit into 32 pixels, in the window's colour; the placeholder shows
/// the first) and the stock icons of the current directory and of "Drives".
/// An item owns the pair that starts at its image index: its icon, and its
/// open icon at the next index. Removing an item's pair moves every image
/// above it down by two.
class TreeImageList {
  public:
    /// The image the placeholder shows: blank while the icons are at most 32
    /// pixels wide.
    static constexpr int PLACEHOLDER_IMAGE = 0;

    /// An empty list of images of `iconSize`; Reset() puts the fixed images in.
    explicit TreeImageList(const wxSize& iconSize);

    /// Empties the list and puts the fixed images in.
    void Reset(const wxBitmap& currentDirectoryIcon, const wxBitmap& drivesIcon);

    /// The list for wxTreeCtrl::SetImageList; it stays this list's own.
    wxImageList* ForControl() { return &imageList; }
    int CurrentDirectoryImage() const { return currentDirectoryImage; }
    int DrivesImage() const { return drivesImage; }
    /// The number of fixed images: every item's pair lies above them.
    int FixedImageCount() const { return fixedImageCount; }
    /// The images in the list, queued ones not counted.
    int ImageCount() const { return imageList.GetImageCount(); }

    /// Takes an item's pair (each bitmap scaled to the icon size if it has
    /// another) and returns the index its icon will have once AddQueued()
    /// has added it.
    int Queue(const wxBitmap& icon, const wxBitmap& openIcon);
    /// Adds every queued pair, in the order queued, at once.
    void AddQueued();

    /// Removes the pairs that start at `itemImages` (in any order; indexes
    /// of fixed images, of no pair and repeats are passed over) and tells
    /// where the remaining images went. Nothing may be queued.
    ImageRenumbering Remove(std::vector<int> itemImages);

  private:
    void Append(const std::vector<wxBitmap>& bitmaps);
    void RemoveSorted(const std::vector<int>& sortedIndexes);

    wxImageList imageList;
    /// Pairs taken since the last AddQueued(), in order.
    std::vector<wxBitmap> queued;
    /// The bitmap of every image in imageList, in order (reading them back
    /// from a native list is slow).
    std::vector<wxBitmap> copies;
    int currentDirectoryImage = -1;
    int drivesImage = -1;
    int fixedImageCount = 0;
};

}  // namespace velmora::desktop
