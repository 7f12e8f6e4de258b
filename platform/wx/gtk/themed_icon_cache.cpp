#include "platform/wx/gtk/themed_icon_cache.h"

#include <wx/image.h>

#include "platform/wx/bitmap_at_size.h"

namespace velmora::platform {

wxBitmap ThemedIconCache::Get(const std::vector<std::string>& names, const wxArtID& fallback) {
    auto key = std::make_pair(names, fallback);
    auto found = rendered.find(key);
    if (found != rendered.end()) {
        return found->second;
    }
    wxBitmap bitmap = Render(names, fallback);
    rendered.emplace(std::move(key), bitmap);
    return bitmap;
}

wxBitmap ThemedIconCache::Render(const std::vector<std::string>& names,
                                 const wxArtID& fallback) const {
    const wxSize size(iconSize, iconSize);
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
    wxImage blank(iconSize, iconSize);
    blank.InitAlpha();
    for (int y = 0; y < iconSize; ++y) {
        for (int x = 0; x < iconSize; ++x) {
            blank.SetAlpha(x, y, 0);
        }
    }
    return wxBitmap(blank);
}

}  // namespace velmora::platform
