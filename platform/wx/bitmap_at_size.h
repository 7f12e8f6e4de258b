#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

namespace velmora::platform {

/// `bitmap` at exactly `size`, as the shells hand out every icon: the bitmap
/// itself when it has that size already (or is invalid), else a copy scaled
/// with the best quality.
inline wxBitmap BitmapAtSize(const wxBitmap& bitmap, const wxSize& size) {
    if (!bitmap.IsOk() || bitmap.GetSize() == size) {
        return bitmap;
    }
    return wxBitmap(
        bitmap.ConvertToImage().Rescale(size.GetWidth(), size.GetHeight(), wxIMAGE_QUALITY_HIGH));
}

}  // namespace velmora::platform
