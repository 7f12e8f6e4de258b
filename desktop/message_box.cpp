#include "desktop/message_box.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

namespace velmora::desktop {

wxString ToDisplayText(const std::string& bytes) {
    wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    if (text.empty() && !bytes.empty()) {
        text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    }
    return text;
}

void ShowMessageBox(wxWindow* owner, const wxString& text) {
    wxMessageDialog box(owner, text, wxTheApp->GetAppName(), wxOK | wxICON_NONE);
    box.ShowModal();
}

}  // namespace velmora::desktop
