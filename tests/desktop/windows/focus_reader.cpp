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

#include "platform/windows/wide_text.h"

namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

std::string Utf8(const std::wstring& text) {
    return velmora::platform::windows::WideToUtf8(text);
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 3) {
        std::fputs("usage: focus_reader WINDOW_TITLE CONTROL_TEXT\n", stderr);
        return 2;
    }
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr || WindowText(foreground) != argv[1]) {
        std::printf("foreground: [%s]\n",
                    foreground == nullptr ? "none" : Utf8(WindowText(foreground)).c_str());
        return 1;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(foreground, nullptr), &info) ||
        info.hwndFocus == nullptr) {
        std::printf("focus: none\n");
        return 1;
    }
    const std::wstring focused = WindowText(info.hwndFocus);
    std::printf("focus: [%s]\n", Utf8(focused).c_str());
    return focused == argv[2] ? 0 : 1;
}
