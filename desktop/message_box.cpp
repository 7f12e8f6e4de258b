#include "desktop/message_box.h"

#include <wx/app.h>

namespace velmora::desktop {

void ShowMessageBox(platform::MessageBoxes& boxes, wxWindow* owner, const wxString& text) {
    boxes.Show(owner, text, wxTheApp->GetAppName());
}

}  // namespace velmora::desktop
