// The system's message boxes on GTK: the toolkit's modal message dialog,
// caught before it shows by a modal-dialog hook, with exactly the text,
// caption and owner given, an OK button only and no icon.
#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <string>
#include <vector>

#include "desktop/help_text.h"
#include "platform/wx/message_box.h"

namespace velmora::testing {
namespace {

struct Caught {
    std::string text;
    std::string caption;
    long style = 0;
    wxWindow* parent = nullptr;
};

// Records every modal message dialog and answers it with OK at once.
class MessageDialogCatcher : public wxModalDialogHook {
  public:
    MessageDialogCatcher() { Register(); }
    ~MessageDialogCatcher() override { Unregister(); }

    std::vector<Caught> caught;

  protected:
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (box == nullptr) {
            return wxID_NONE;
        }
        caught.push_back({box->GetMessage().utf8_string(), box->GetCaption().utf8_string(),
                          box->GetMessageDialogStyle(), box->GetParent()});
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

TEST(SystemMessageBoxesTest, AreModalMessageDialogsWithOkOnlyAndNoIcon) {
    wxDialog owner(nullptr, wxID_ANY, "Owner");
    owner.Show();  // a hidden window owns no modal dialog
    for (const std::string& text : {std::string("AES-CBC-128 encptry file /docs/a.txt successful!"),
                                    std::string(desktop::HELP_TEXT)}) {
        SCOPED_TRACE(text);
        MessageDialogCatcher catcher;
        platform::SystemMessageBoxes boxes;
        boxes.Show(&owner, wxString::FromUTF8(text), "velmora");
        ASSERT_EQ(catcher.caught.size(), 1u);
        const Caught& box = catcher.caught[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "velmora");
        EXPECT_EQ(box.parent, &owner);
        EXPECT_EQ(box.style & (wxOK | wxCANCEL | wxYES_NO | wxHELP), wxOK);
        EXPECT_EQ(box.style & wxICON_MASK, wxICON_NONE);
    }
}

}  // namespace
}  // namespace velmora::testing
