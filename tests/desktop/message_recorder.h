#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/modalhook.h>
#include <wx/msgdlg.h>

namespace velmora::testing {

/// One message box the code under test tried to show.
struct ShownMessage {
    std::string text;
    std::string caption;
    long style = 0;
    wxWindow* owner = nullptr;
};

/// While it exists, intercepts every modal message box: records it and
/// answers it with OK at once, without showing it. Other modal dialogs are
/// shown as usual. `onShow`, when set, runs while the box is "open", so
/// a test can look at the state the user would see at that moment.
class MessageRecorder : public wxModalDialogHook {
  public:
    MessageRecorder() { Register(); }
    ~MessageRecorder() override { Unregister(); }

    std::vector<ShownMessage> messages;
    std::function<void(const ShownMessage&)> onShow;

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
        messages.push_back({box->GetMessage().utf8_str().data(),
                            box->GetCaption().utf8_str().data(), box->GetMessageDialogStyle(),
                            box->GetParent()});
        if (onShow) {
            onShow(messages.back());
        }
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

}  // namespace velmora::testing
