// Tells which control has the keyboard focus, for the end-to-end run of
// velmora.exe under Wine: keys typed on the X display go to the focus of
// the foreground window, so the run waits for the control it means to
// start from before it types.
//
// Usage: focus_reader WINDOW_TITLE CONTROL_TEXT
//
// Exits 0 when the foreground window is titled exactly WINDOW_TITLE and its
// focus is a control showing exactly CONTROL_TEXT, 1 otherwise; it prints
// what has the focus, in UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "tests/desktop/windows/window_text.h"

int main(int argc, char** argv) {
    using velmora::testing::WindowText;
    const std::vector<std::string> arguments = velmora::platform::ProgramArguments(argc, argv);
    if (arguments.size() != 3) {
        std::fputs("usage: focus_reader WINDOW_TITLE CONTROL_TEXT\n", stderr);
        return 2;
    }
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr || WindowText(foreground) != arguments[1]) {
        std::printf("foreground: [%s]\n",
                    foreground == nullptr ? "none" : WindowText(foreground).c_str());
        return 1;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(foreground, nullptr), &info) ||
        info.hwndFocus == nullptr) {
        std::printf("focus: none\n");
        return 1;
    }
    const std::string focused = WindowText(info.hwndFocus);
    std::printf("focus: [%s]\n", focused.c_str());
    return focused == arguments[2] ? 0 : 1;
}
