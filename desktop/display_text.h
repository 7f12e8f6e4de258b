#pragma once

#include <wx/string.h>

#include <string>

namespace velmora::desktop {

/// Turns path bytes into display text: UTF-8 when they are valid UTF-8,
/// otherwise byte for byte as Latin-1, so that no name is shown empty.
inline wxString ToDisplayText(const std::string& bytes) {
    wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    if (text.empty() && !bytes.empty()) {
        text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    }
    return text;
}

}  // namespace velmora::desktop
