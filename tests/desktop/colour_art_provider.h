#pragma once

#include <wx/artprov.h>

#include <string>

namespace velmora::testing {

/// Icon theme stand-in: the art name "velmora-test-colour-N" is a bitmap
/// filled with the colour whose 24-bit RGB value is N, so a test can tell
/// from the pixels alone which icon an image list slot holds.
class ColourArtProvider : public wxArtProvider {
  public:
    static std::string NameFor(unsigned code);
    /// The code of a bitmap made by this provider (its top-left pixel).
    static unsigned CodeOf(const wxBitmap& bitmap);

  protected:
    wxBitmap CreateBitmap(const wxArtID& id, const wxArtClient& client,
                          const wxSize& size) override;
};

}  // namespace velmora::testing
