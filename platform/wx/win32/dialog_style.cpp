#include <wx/msw/wrapwin.h>

#include "platform/wx/dialog_style.h"

namespace velmora::platform {

wxFont DialogFont() {
    return wxFont(wxFontInfo(8).FaceName("MS Shell Dlg"));
}

void AddDefaultPushButtonStyle(wxButton* button) {
    const HWND window = static_cast<HWND>(button->GetHandle());
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_PUSHBUTTON) {
        ::SendMessageW(window, BM_SETSTYLE, (style & ~BS_TYPEMASK) | BS_DEFPUSHBUTTON, TRUE);
    }
}

}  // namespace velmora::platform
