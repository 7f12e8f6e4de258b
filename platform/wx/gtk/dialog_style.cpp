#include "platform/wx/dialog_style.h"

namespace velmora::platform {

// GTK lays dialogs out in the desktop's own font.
wxFont DialogFont() {
    return wxFont();
}

// A GTK window has one default button (wxButton::SetDefault), no more.
void AddDefaultPushButtonStyle(wxButton*) {}

}  // namespace velmora::platform
