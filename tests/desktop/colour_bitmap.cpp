#include "tests/desktop/colour_bitmap.h"

#include <wx/image.h>

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

}  // namespace velmora::testing
