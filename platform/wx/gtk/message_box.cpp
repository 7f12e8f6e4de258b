#include <wx/msgdlg.h>

#include "platform/wx/message_box.h"

namespace velmora::platform {

void SystemMessageBoxes::Show(wxWindow* owner, const wxString& text, const wxString& caption) {
    wxMessageDialog box(owner, text, caption, wxOK | wxICON_NONE);
    box.ShowModal();
}

}  // namespace velmora::platform
