#pragma once

#include <wx/string.h>
#include <wx/window.h>

namespace velmora::platform {

/// The system's message boxes: an OK button only, no icon.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    /// Shows `text` under `caption` in a box owned by `owner` and modal to
    /// it (the owner takes no input while the box is open); returns once the
    /// user has dismissed it.
    virtual void Show(wxWindow* owner, const wxString& text, const wxString& caption) = 0;
};

/// The message boxes of the system the program runs on: the toolkit's
/// message dialog on GTK, the system's own message box (MessageBoxW) on
/// Windows, which tools that read message boxes understand.
class SystemMessageBoxes : public MessageBoxes {
  public:
    void Show(wxWindow* owner, const wxString& text, const wxString& caption) override;
};

}  // namespace velmora::platform
