#pragma once

#include <wx/bitmap.h>

namespace velmora::testing {

/// A bitmap of `size` filled with the colour whose 24-bit RGB value is
/// `code`, so that a test can tell from the pixels alone which icon an image
/// list slot holds.
wxBitmap ColourBitmap(unsigned code, const wxSize& size);

/// The code of a bitmap made by ColourBitmap (its top-left pixel).
unsigned CodeOf(const wxBitmap& bitmap);

/// Whether two bitmaps have the same size, colours and transparency.
bool SamePixels(const wxBitmap& a, const wxBitmap& b);

}  // namespace velmora::testing
