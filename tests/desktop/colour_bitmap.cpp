#include "tests/desktop/colour_bitmap.h"

#include <wx/image.h>

#include <algorithm>

namespace velmora::testing {

wxBitmap ColourBitmap(unsigned code, const wxSize& size) {
    wxImage image(size);
    image.SetRGB(wxRect(size), (code >> 16) & 0xFF, (code >> 8) & 0xFF, code & 0xFF);
    return wxBitmap(image);
}

unsigned CodeOf(const wxBitmap& bitmap) {
    const wxImage image = bitmap.ConvertToImage();
    return (unsigned{image.GetRed(0, 0)} << 16) | (unsigned{image.GetGreen(0, 0)} << 8) |
           unsigned{image.GetBlue(0, 0)};
}

bool SamePixels(const wxBitmap& a, const wxBitmap& b) {
    const wxImage first = a.ConvertToImage();
    const wxImage second = b.ConvertToImage();
    if (first.GetSize() != second.GetSize()) {
        return false;
    }
    const size_t bytes = 3u * first.GetWidth() * first.GetHeight();
    if (!std::equal(first.GetData(), first.GetData() + bytes, second.GetData()) ||
        first.HasAlpha() != second.HasAlpha()) {
        return false;
    }
    return !first.HasAlpha() ||
           std::equal(first.GetAlpha(), first.GetAlpha() + bytes / 3, second.GetAlpha());
}

}  // namespace velmora::testing
