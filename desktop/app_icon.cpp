#include "desktop/app_icon.h"

#include <cstddef>

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/imagpng.h>

namespace velmora::resources {
extern const unsigned char velmora_16_png[];
extern const std::size_t velmora_16_png_size;
extern const unsigned char velmora_32_png[];
extern const std::size_t velmora_32_png_size;
}  // namespace velmora::resources

namespace velmora::desktop {
namespace {

wxIcon IconFromPng(const unsigned char* data, std::size_t size) {
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap::NewFromPNGData(data, size));
    return icon;
}

}  // namespace

wxIconBundle LoadAppIcon() {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) {
        wxImage::AddHandler(new wxPNGHandler);
    }
    wxIconBundle bundle;
    bundle.AddIcon(IconFromPng(resources::velmora_16_png, resources::velmora_16_png_size));
    bundle.AddIcon(IconFromPng(resources::velmora_32_png, resources::velmora_32_png_size));
    return bundle;
}

}  // namespace velmora::desktop
