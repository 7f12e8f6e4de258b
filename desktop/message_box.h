#pragma once

#include <wx/window.h>

namespace velmora::desktop {

/// Shows `text` in a modal message box owned by `owner`: an OK button only,
/// no icon, the application's name as caption. Returns once it is dismissed.
void ShowMessageBox(wxWindow* owner, const wxString& text);

}  // namespace velmora::desktop
