#include "platform/linux/themed_icon_cache.h"

#include <wx/image.h>

#include "platform/bitmap_at_size.h"

namespace velmora::platform {

wxBitmap ThemedIconCache::Get(const std::vector<std::string>& names, const wxArtID& fallback) {
    auto key = std::make_pair(names, fallback);
    auto found = rendered_.find(key);
    if (found != rendered_.end()) {
        return found->second;
    }
    wxBitmap bitmap = Render(names, fallback);
    rendered_.emplace(std::move(key), bitmap);
    return bitmap;
}

wxBitmap ThemedIconCache::Render(const std::vector<std::string>& names,
                                 const wxArtID& fallback) const {
    const wxSize size(size_, size_);
    for (const std::string& name : names) {
        wxBitmap bitmap = wxArtProvider::GetBitmap(wxString::FromUTF8(name), wxART_OTHER, size);
        if (bitmap.IsOk()) {
            return BitmapAtSize(bitmap, size);
        }
    }
    wxBitmap bitmap = wxArtProvider::GetBitmap(fallback, wxART_OTHER, size);
    if (bitmap.IsOk()) {
        return BitmapAtSize(bitmap, size);
    }
    // No theme and no built-in art: an empty picture keeps the slot.
    wxImage blank(size_, size_);
    blank.InitAlpha();
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            blank.SetAlpha(x, y, 0);
        }
    }
    return wxBitmap(blank);
}

}  // namespace velmora::platform
