// The folder tree's image list on its own, without a tree: the fixed images
// first, then two per item; removing pairs anywhere and where the others go;
// pictures of other sizes and with transparency (on Windows they reach the
// system's list side by side in one strip).
#include "desktop/tree_image_list.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/desktop/colour_bitmap.h"

namespace velmora::testing {
namespace {

using desktop::ImageRenumbering;
using desktop::TreeImageList;

const wxSize ICON_SIZE(16, 16);
constexpr unsigned CURRENT_DIRECTORY_CODE = 0xFFFF00;
constexpr unsigned DRIVES_CODE = 0xFFFF01;
/// Two blank images (two 16-pixel icons fit into 32 pixels), the two stock
/// icons.
constexpr int FIXED_IMAGES = 4;

/// The colour code of the window's background, which blank images show.
unsigned WindowCode() {
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    return (unsigned{window.Red()} << 16) | (unsigned{window.Green()} << 8) |
           unsigned{window.Blue()};
}

/// The picture of item `item`'s icon (`open`: its open icon).
wxBitmap ItemIcon(unsigned item, bool open, const wxSize& size = ICON_SIZE) {
    return ColourBitmap(2 * item + (open ? 1 : 0), size);
}

class TreeImageListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        images.Reset(ColourBitmap(CURRENT_DIRECTORY_CODE, ICON_SIZE),
                     ColourBitmap(DRIVES_CODE, ICON_SIZE));
    }

    /// Adds the pairs of items 1 to `count` in one batch; their first images.
    std::vector<int> AddItems(unsigned count) {
        std::vector<int> first;
        for (unsigned item = 1; item <= count; ++item) {
            first.push_back(images.Queue(ItemIcon(item, false), ItemIcon(item, true)));
        }
        images.AddQueued();
        return first;
    }

    /// The code of every image, read back from the list the control draws.
    std::vector<unsigned> Codes() {
        std::vector<unsigned> codes;
        const wxImageList& list = *images.ForControl();
        for (int index = 0; index < list.GetImageCount(); ++index) {
            codes.push_back(CodeOf(list.GetBitmap(index)));
        }
        return codes;
    }

    /// The codes of the fixed images followed by the pairs of `items`.
    static std::vector<unsigned> Expected(const std::vector<unsigned>& items) {
        std::vector<unsigned> codes = {WindowCode(), WindowCode(), CURRENT_DIRECTORY_CODE,
                                       DRIVES_CODE};
        for (const unsigned item : items) {
            codes.push_back(2 * item);
            codes.push_back(2 * item + 1);
        }
        return codes;
    }

    TreeImageList images{ICON_SIZE};
};

// As many blank images as icon widths fit into 32 pixels, then the stock
// icons; the placeholder's image is blank while there is a blank image.
TEST(TreeImageListFixedImagesTest, BlankImagesThenTheStockIconsForEveryIconSize) {
    const struct {
        int iconWidth;
        int blankImages;
    } cases[] = {{16, 2}, {20, 1}, {32, 1}, {48, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iconWidth);
        const wxSize size(c.iconWidth, c.iconWidth);
        TreeImageList images(size);
        images.Reset(ColourBitmap(CURRENT_DIRECTORY_CODE, size), ColourBitmap(DRIVES_CODE, size));
        const wxImageList& list = *images.ForControl();

        ASSERT_EQ(list.GetImageCount(), c.blankImages + 2);
        EXPECT_EQ(images.FixedImageCount(), c.blankImages + 2);
        EXPECT_EQ(images.ImageCount(), c.blankImages + 2);
        EXPECT_EQ(list.GetSize(), size);
        for (int index = 0; index < c.blankImages; ++index) {
            EXPECT_EQ(CodeOf(list.GetBitmap(index)), WindowCode()) << "image " << index;
        }
        EXPECT_EQ(images.CurrentDirectoryImage(), c.blankImages);
        EXPECT_EQ(images.DrivesImage(), c.blankImages + 1);
        EXPECT_EQ(CodeOf(list.GetBitmap(images.CurrentDirectoryImage())), CURRENT_DIRECTORY_CODE);
        EXPECT_EQ(CodeOf(list.GetBitmap(images.DrivesImage())), DRIVES_CODE);
        EXPECT_EQ(CodeOf(list.GetBitmap(TreeImageList::PLACEHOLDER_IMAGE)),
                  c.blankImages > 0 ? WindowCode() : CURRENT_DIRECTORY_CODE);
    }
}

TEST_F(TreeImageListTest, ResetLeavesOnlyTheFixedImages) {
    AddItems(5);
    images.Queue(ItemIcon(9, false), ItemIcon(9, true));
    images.Reset(ColourBitmap(DRIVES_CODE, ICON_SIZE),
                 ColourBitmap(CURRENT_DIRECTORY_CODE, ICON_SIZE));
    images.AddQueued();
    EXPECT_EQ(Codes(), (std::vector<unsigned>{WindowCode(), WindowCode(), DRIVES_CODE,
                                              CURRENT_DIRECTORY_CODE}));
}

// Queued pairs get their indexes at once and reach the list together, in the
// order queued, above everything added before.
TEST_F(TreeImageListTest, EveryItemGetsTwoImagesAboveTheFixedOnes) {
    EXPECT_EQ(images.FixedImageCount(), FIXED_IMAGES);
    const int first = images.Queue(ItemIcon(1, false), ItemIcon(1, true));
    const int second = images.Queue(ItemIcon(2, false), ItemIcon(2, true));
    EXPECT_EQ(first, FIXED_IMAGES);
    EXPECT_EQ(second, FIXED_IMAGES + 2);
    EXPECT_EQ(images.ImageCount(), FIXED_IMAGES) << "nothing added before AddQueued";
    images.AddQueued();
    EXPECT_EQ(Codes(), Expected({1, 2}));

    EXPECT_EQ(images.Queue(ItemIcon(3, false), ItemIcon(3, true)), FIXED_IMAGES + 4);
    images.AddQueued();
    images.AddQueued();  // nothing queued: nothing added
    EXPECT_EQ(Codes(), Expected({1, 2, 3}));
}

// The pairs of the removed items go, wherever they lie; every other image
// keeps its order and its new index is the renumbering's. Few images above
// the lowest removed one, or many, take different routes.
TEST_F(TreeImageListTest, RemovingScatteredPairsKeepsTheOthersInOrder) {
    const unsigned ITEMS = 12;
    const struct {
        const char* what;
        std::vector<unsigned> removed;  // item numbers, as handed in
    } cases[] = {
        {"the last pair", {12}},         {"a pair with three above it", {9}},
        {"the first pair of many", {1}}, {"scattered, out of order, one twice", {8, 1, 4, 4, 12}},
        {"neighbours", {5, 6}},          {"every pair", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        const std::vector<int> first = AddItems(ITEMS);
        std::vector<int> removed;
        for (const unsigned item : c.removed) {
            removed.push_back(first[item - 1]);
        }

        const ImageRenumbering renumbering = images.Remove(removed);

        std::vector<unsigned> kept;
        for (unsigned item = 1; item <= ITEMS; ++item) {
            if (std::find(c.removed.begin(), c.removed.end(), item) == c.removed.end()) {
                kept.push_back(item);
            }
        }
        const std::vector<unsigned> codes = Codes();
        ASSERT_EQ(codes, Expected(kept));
        EXPECT_EQ(images.ImageCount(), FIXED_IMAGES + 2 * static_cast<int>(kept.size()));
        for (int index = 0; index < FIXED_IMAGES; ++index) {
            EXPECT_EQ(renumbering.NewIndex(index), index) << "fixed image " << index;
        }
        for (const unsigned item : kept) {
            const int icon = renumbering.NewIndex(first[item - 1]);
            EXPECT_EQ(codes.at(icon), 2 * item) << "item " << item;
            EXPECT_EQ(renumbering.NewIndex(first[item - 1] + 1), icon + 1) << "item " << item;
        }
        EXPECT_EQ(images.Queue(ItemIcon(99, false), ItemIcon(99, true)), images.ImageCount())
            << "the next pair comes right after the last";
        images.AddQueued();
    }
}

// Nothing that is not the start of an item's pair is removed: the fixed
// images (a placeholder's, the stock icons of the top-level items), an open
// icon, an index beyond the list.
TEST_F(TreeImageListTest, IndexesOfNoItemsPairRemoveNothing) {
    const std::vector<int> first = AddItems(3);
    const ImageRenumbering renumbering =
        images.Remove({TreeImageList::PLACEHOLDER_IMAGE, images.CurrentDirectoryImage(),
                       images.DrivesImage(), first[1] + 1, FIXED_IMAGES + 6, 1000, -1});
    EXPECT_TRUE(renumbering.IsIdentity());
    EXPECT_EQ(Codes(), Expected({1, 2, 3}));
    EXPECT_TRUE(images.Remove({}).IsIdentity());
}

TEST(ImageRenumberingTest, EachImageMovesDownByTheRemovedOnesBelowIt) {
    const ImageRenumbering renumbering({6, 7, 10, 11});
    EXPECT_FALSE(renumbering.IsIdentity());
    const struct {
        int before;
        int after;
    } cases[] = {{0, 0}, {5, 5}, {8, 6}, {9, 7}, {12, 8}, {13, 9}, {100, 96}};
    for (const auto& c : cases) {
        EXPECT_EQ(renumbering.NewIndex(c.before), c.after) << c.before;
    }
    EXPECT_EQ(ImageRenumbering().NewIndex(7), 7);
}

/// A bitmap of `size` in the colour `code` whose top-left pixel is
/// transparent, through a mask (`withMask`) or through its alpha channel.
wxBitmap TransparentCornerBitmap(unsigned code, const wxSize& size, bool withMask) {
    wxImage image(size);
    image.SetRGB(wxRect(size), (code >> 16) & 0xFF, (code >> 8) & 0xFF, code & 0xFF);
    if (withMask) {
        image.SetRGB(0, 0, 1, 2, 3);
        image.SetMaskColour(1, 2, 3);
    } else {
        image.InitAlpha();
        image.SetAlpha(0, 0, 0);
    }
    return wxBitmap(image);
}

/// The colour code in the middle of a bitmap.
unsigned CentreCodeOf(const wxBitmap& bitmap) {
    const wxImage image = bitmap.ConvertToImage();
    const int x = image.GetWidth() / 2;
    const int y = image.GetHeight() / 2;
    return (unsigned{image.GetRed(x, y)} << 16) | (unsigned{image.GetGreen(x, y)} << 8) |
           unsigned{image.GetBlue(x, y)};
}

// Pictures as the shells may hand them: of another size (made the list's),
// with a mask or an alpha channel (transparent where they were), one bitmap
// shared by many items. On Windows all of them reach the list together, as
// one strip; they must come out as single images all the same, also when the
// list is filled anew after a removal.
TEST_F(TreeImageListTest, PicturesOfAnySizeAndTransparencyComeOutAsTheyWent) {
    const wxBitmap shared = ItemIcon(7, false);
    const struct {
        const char* what;
        wxBitmap icon;
        unsigned code;
        bool cornerTransparent;
    } pictures[] = {
        {"16 px", ItemIcon(1, false), 2, false},
        {"32 px", ItemIcon(2, false, wxSize(32, 32)), 4, false},
        {"8 px", ItemIcon(3, false, wxSize(8, 8)), 6, false},
        {"16 by 24 px", ItemIcon(4, false, wxSize(16, 24)), 8, false},
        {"with a mask", TransparentCornerBitmap(10, ICON_SIZE, true), 10, true},
        {"with alpha", TransparentCornerBitmap(12, ICON_SIZE, false), 12, true},
        {"shared, first", shared, 14, false},
        {"shared, second", shared, 14, false},
    };
    std::vector<int> first;
    for (const auto& p : pictures) {
        first.push_back(images.Queue(p.icon, p.icon));
    }
    images.AddQueued();
    const auto expectPictures = [&] {
        const wxImageList& list = *images.ForControl();
        EXPECT_EQ(CodeOf(list.GetBitmap(0)), WindowCode());
        EXPECT_EQ(CodeOf(list.GetBitmap(images.CurrentDirectoryImage())), CURRENT_DIRECTORY_CODE);
        EXPECT_EQ(CodeOf(list.GetBitmap(images.DrivesImage())), DRIVES_CODE);
        for (size_t i = 0; i < std::size(pictures); ++i) {
            SCOPED_TRACE(pictures[i].what);
            for (const int index : {first[i], first[i] + 1}) {
                const wxBitmap bitmap = list.GetBitmap(index);
                EXPECT_EQ(bitmap.GetSize(), ICON_SIZE);
                EXPECT_EQ(CentreCodeOf(bitmap), pictures[i].code);
                EXPECT_EQ(bitmap.ConvertToImage().IsTransparent(0, 0),
                          pictures[i].cornerTransparent);
            }
        }
    };
    {
        SCOPED_TRACE("added");
        expectPictures();
    }
    // Removing the lowest pair sends every other image into the list again.
    const ImageRenumbering renumbering = images.Remove({first[0]});
    for (int& index : first) {
        index = renumbering.NewIndex(index);
    }
    first[0] = images.Queue(pictures[0].icon, pictures[0].icon);
    images.AddQueued();
    {
        SCOPED_TRACE("after the list was filled anew");
        expectPictures();
    }
}

}  // namespace
}  // namespace velmora::testing
