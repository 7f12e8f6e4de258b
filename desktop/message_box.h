#pragma once

#include <wx/string.h>
#include <wx/window.h>

#include "platform/wx/message_box.h"

namespace velmora::desktop {

/// Shows `text` in one of `boxes`, owned by `owner` and modal to it, with the
/// application's name (the program file's name without its extension) as
/// caption. Returns once it is dismissed.
void ShowMessageBox(platform::MessageBoxes& boxes, wxWindow* owner, const wxString& text);

}  // namespace velmora::desktop
