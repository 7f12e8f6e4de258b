#include "tests/desktop/colour_art_provider.h"

#include <wx/image.h>

namespace velmora::testing {
namespace {

constexpr char kPrefix[] = "velmora-test-colour-";

}  // namespace

std::string ColourArtProvider::NameFor(unsigned code) {
    return kPrefix + std::to_string(code);
}

unsigned ColourArtProvider::CodeOf(const wxBitmap& bitmap) {
    const wxImage image = bitmap.ConvertToImage();
    return (unsigned{image.GetRed(0, 0)} << 16) | (unsigned{image.GetGreen(0, 0)} << 8) |
           unsigned{image.GetBlue(0, 0)};
}

wxBitmap ColourArtProvider::CreateBitmap(const wxArtID& id, const wxArtClient&,
                                         const wxSize& size) {
    unsigned long code = 0;
    if (!id.StartsWith(kPrefix) || !id.Mid(sizeof(kPrefix) - 1).ToULong(&code) || code > 0xFFFFFF) {
        return wxNullBitmap;
    }
    const wxSize actual = size.IsFullySpecified() ? size : wxSize(16, 16);
    wxImage image(actual);
    image.SetRGB(wxRect(actual), (code >> 16) & 0xFF, (code >> 8) & 0xFF, code & 0xFF);
    return wxBitmap(image);
}

}  // namespace velmora::testing
