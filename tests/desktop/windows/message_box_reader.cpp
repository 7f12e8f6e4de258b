// Reads the message boxes on the screen as a Windows tool reads them, for
// the end-to-end run of velmora.exe under Wine: every visible top-level
// window with the caption given, read through Win32 calls (see
// message_box_view.h).
//
// Usage: message_box_reader CAPTION TEXT
//
// Exits 0 when a window with exactly that caption is a plain message box (a
// "#32770" dialog box with its text in its text control and nowhere else,
// one OK button, no icon) that shows exactly that text, 1 otherwise; it
// prints what the windows with that caption show, in UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "tests/desktop/windows/message_box_view.h"

namespace {

using velmora::testing::MessageBoxView;

struct Search {
    std::string caption;
    std::vector<MessageBoxView> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    if (::IsWindowVisible(window) && velmora::testing::WindowText(window) == s->caption) {
        s->boxes.push_back(velmora::testing::ReadMessageBox(window));
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = velmora::platform::ProgramArguments(argc, argv);
    if (arguments.size() != 3) {
        std::fputs("usage: message_box_reader CAPTION TEXT\n", stderr);
        return 2;
    }
    Search search{arguments[1], {}};
    const std::string& expected = arguments[2];
    ::EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    bool found = false;
    for (const MessageBoxView& box : search.boxes) {
        std::printf("box: %s%s\n", box.Describe().c_str(), box.IsPlain() ? "" : " (not plain)");
        found = found || (box.IsPlain() && box.text == expected);
    }
    return found ? 0 : 1;
}
