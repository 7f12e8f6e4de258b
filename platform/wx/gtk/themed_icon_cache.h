#pragma once

#include <wx/artprov.h>
#include <wx/bitmap.h>

#include <map>
#include <string>
#include <vector>

namespace velmora::platform {

/// Renders themed icons at one size, remembering each result: the first name
/// of a list that the icon theme resolves wins, else the fallback art.
class ThemedIconCache {
  public:
    explicit ThemedIconCache(int iconSize) : iconSize(iconSize) {}

    /// A bitmap of exactly iconSize x iconSize pixels, never invalid.
    wxBitmap Get(const std::vector<std::string>& names, const wxArtID& fallback);

  private:
    wxBitmap Render(const std::vector<std::string>& names, const wxArtID& fallback) const;

    int iconSize;
    std::map<std::pair<std::vector<std::string>, wxArtID>, wxBitmap> rendered;
};

}  // namespace velmora::platform
