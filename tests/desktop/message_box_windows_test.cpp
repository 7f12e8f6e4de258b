// The system's message boxes on Windows, shown for real and read from
// another thread as a Windows tool reads them (message_box_view.h): a plain
// message box with exactly the text and caption given, owned by the given
// window, which takes no input until the box is dismissed.
#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/msw/wrapwin.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "desktop/help_text.h"
#include "platform/wx/message_box.h"
#include "tests/desktop/windows/message_box_view.h"

namespace velmora::testing {
namespace {

struct Seen {
    bool found = false;
    MessageBoxView view;
    bool ownerEnabled = true;
};

// Shows `text` under `caption` owned by `owner` and reads the box from a
// second thread while it is open; the reader then presses its OK button
// (or closes whatever window it found, so that a wrong box never blocks).
Seen ShowAndRead(wxWindow* owner, const wxString& text, const wxString& caption) {
    Seen seen;
    const DWORD uiThread = ::GetCurrentThreadId();
    const HWND ownerWindow = static_cast<HWND>(owner->GetHandle());
    const std::string captionText = caption.utf8_string();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (int i = 0; i < 500 && !done; ++i) {
            const HWND box = ShownWindowCaptioned(captionText, uiThread);
            if (box == nullptr) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
            seen.found = true;
            seen.view = ReadMessageBox(box);
            seen.ownerEnabled = ::IsWindowEnabled(ownerWindow) != FALSE;
            const HWND ok = ::GetDlgItem(box, IDOK);
            if (seen.view.IsPlain() && ok != nullptr) {
                ::PostMessageW(ok, BM_CLICK, 0, 0);
            } else {
                ::PostMessageW(box, WM_CLOSE, 0, 0);
            }
            return;
        }
    });
    platform::SystemMessageBoxes boxes;
    boxes.Show(owner, text, caption);
    done = true;
    reader.join();
    return seen;
}

TEST(SystemMessageBoxesTest, ArePlainModalMessageBoxesOwnedByTheDialog) {
    wxDialog owner(nullptr, wxID_ANY, "Owner");
    owner.Show();
    const HWND ownerWindow = static_cast<HWND>(owner.GetHandle());
    const std::string longPath = "C:\\" + std::string(120, 'n') + "\\\xCE\xA9\xCE\xBC\xCE\xAD.txt";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"a result", "AES-CBC-128 encptry file C:\\docs\\a.txt successful!"},
        {"a long name outside the code page",
         "AES-CBC-128 encptry file " + longPath + " successful!"},
        {"lines and tabs", desktop::HELP_TEXT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Seen seen = ShowAndRead(&owner, wxString::FromUTF8(c.text), "velmora");
        ASSERT_TRUE(seen.found) << "no box appeared";
        EXPECT_TRUE(seen.view.IsPlain()) << seen.view.Describe();
        EXPECT_EQ(seen.view.text, c.text);
        EXPECT_EQ(seen.view.caption, "velmora");
        EXPECT_EQ(seen.view.owner, ownerWindow);
        EXPECT_FALSE(seen.ownerEnabled) << "the owner must take no input while the box is open";
        EXPECT_TRUE(::IsWindowEnabled(ownerWindow)) << "and again once it is dismissed";
    }
}

}  // namespace
}  // namespace velmora::testing
