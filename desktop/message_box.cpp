#include "desktop/message_box.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

namespace velmora::desktop {

void ShowMessageBox(wxWindow* owner, const wxString& text) {
    wxMessageDialog box(owner, text, wxTheApp->GetAppName(), wxOK | wxICON_NONE);
    box.ShowModal();
}

}  // namespace velmora::desktop
