#pragma once

#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/wx/message_box.h"

namespace velmora::testing {

/// One message box the code under test showed.
struct ShownMessage {
    std::string text;
    std::string caption;
    wxWindow* owner = nullptr;
};

/// A fake of the system's message boxes: records every box shown and answers
/// it with OK at once. `onShow`, when set, runs while the box is "open", so
/// a test can look at the state the user would see at that moment.
///
/// While it exists it also catches any message dialog of the toolkit's own
/// (shown past the message boxes it stands for) and answers it at once; its
/// texts are in `strayDialogs`.
class MessageRecorder : public platform::MessageBoxes, public wxModalDialogHook {
  public:
    MessageRecorder() { Register(); }
    ~MessageRecorder() override { Unregister(); }

    std::vector<ShownMessage> messages;
    std::function<void(const ShownMessage&)> onShow;
    std::vector<std::string> strayDialogs;

    void Show(wxWindow* owner, const wxString& text, const wxString& caption) override {
        messages.push_back({text.utf8_string(), caption.utf8_string(), owner});
        if (onShow) {
            onShow(messages.back());
        }
    }

    /// The texts alone, in the order shown.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

  protected:
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (box == nullptr) {
            return wxID_NONE;
        }
        strayDialogs.push_back(box->GetMessage().utf8_string());
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

}  // namespace velmora::testing
