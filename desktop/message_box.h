#pragma once

#include <string>

#include <wx/window.h>

namespace velmora::desktop {

/// Turns path bytes into display text: UTF-8 when they are valid UTF-8,
/// otherwise byte for byte as Latin-1, so that no name is shown empty.
wxString ToDisplayText(const std::string& bytes);

/// Shows `text` in a modal message box owned by `owner`: an OK button only,
/// no icon, the application's name as caption. Returns once it is dismissed.
void ShowMessageBox(wxWindow* owner, const wxString& text);

}  // namespace velmora::desktop
