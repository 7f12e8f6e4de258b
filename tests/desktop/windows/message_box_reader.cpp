// Reads the message boxes on the screen as the user sees them, for the end-
// to-end run of velmora.exe under Wine: every visible top-level dialog box
// of the system's class "#32770" with the caption given, and the texts it
// shows (static texts; its buttons left out).
//
// Usage: message_box_reader CAPTION TEXT
//
// Exits 0 when a box with exactly that caption shows exactly that text,
// 1 otherwise; it prints what the boxes with that caption show, in UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "tests/desktop/windows/window_text.h"

namespace {

using velmora::testing::WindowText;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    std::string caption;
    std::vector<std::vector<std::string>> boxes;  // the texts of each box
};

BOOL CALLBACK CollectText(HWND child, LPARAM found) {
    const std::string text = WindowText(child);
    if (::IsWindowVisible(child) && !text.empty() && ClassOf(child) != L"Button") {
        reinterpret_cast<std::vector<std::string>*>(found)->push_back(text);
    }
    return TRUE;
}

BOOL CALLBACK CollectBox(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    if (::IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
        WindowText(window) == s->caption) {
        s->boxes.emplace_back();
        ::EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&s->boxes.back()));
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
    for (const auto& texts : search.boxes) {
        std::printf("box:");
        for (const std::string& text : texts) {
            std::printf(" [%s]", text.c_str());
            found = found || text == expected;
        }
        std::printf("\n");
    }
    return found ? 0 : 1;
}
