#include <wx/msw/wrapwin.h>

#include "platform/wx/message_box.h"

namespace velmora::platform {

// The system's message box itself (wxWidgets' message dialog is a task
// dialog, which reads and lays out differently). With an owner it is modal
// to the owner's thread: the owner is disabled until the box is dismissed.
void SystemMessageBoxes::Show(wxWindow* owner, const wxString& text, const wxString& caption) {
    const HWND ownerWindow = owner != nullptr ? static_cast<HWND>(owner->GetHandle()) : nullptr;
    ::MessageBoxW(ownerWindow, text.wc_str(), caption.wc_str(), MB_OK);
}

}  // namespace velmora::platform
