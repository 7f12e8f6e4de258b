#pragma once

// A message box as a Windows tool reads it: through Win32 calls on its
// window, the way screen readers and test tools find a box's text (the
// static control 0xFFFF of a "#32770" dialog) and buttons.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/desktop/windows/window_text.h"

namespace velmora::testing {

/// The control of a message box that holds its text.
inline constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct MessageBoxView {
    struct Button {
        int id = 0;
        std::string text;
    };

    std::wstring windowClass;
    std::string caption;
    /// The text of control 0xFFFF; "" when there is none.
    std::string text;
    /// Every other visible text that is not a button's.
    std::vector<std::string> otherTexts;
    /// The visible buttons, in the order of the box's children.
    std::vector<Button> buttons;
    bool showsIcon = false;
    HWND owner = nullptr;

    /// A plain message box: the system's dialog class, its text where tools
    /// look for it and nowhere else, one "OK" button (IDOK), no icon.
    bool IsPlain() const {
        return windowClass == L"#32770" && otherTexts.empty() && buttons.size() == 1 &&
               buttons[0].id == IDOK && buttons[0].text == "OK" && !showsIcon;
    }

    /// What it shows, for failure messages.
    std::string Describe() const {
        std::string description = "[" + caption + "] text [" + text + "]";
        for (const std::string& other : otherTexts) {
            description += " other text [" + other + "]";
        }
        for (const Button& button : buttons) {
            description += " button " + std::to_string(button.id) + " [" + button.text + "]";
        }
        if (windowClass != L"#32770") {
            description += " (not a dialog box)";
        }
        return description + (showsIcon ? " with an icon" : "");
    }
};

namespace message_box_view {

inline BOOL CALLBACK ReadChild(HWND child, LPARAM view) {
    auto* v = reinterpret_cast<MessageBoxView*>(view);
    if (!::IsWindowVisible(child)) {
        return TRUE;
    }
    const std::wstring windowClass = ClassOf(child);
    const int id = ::GetDlgCtrlID(child);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (windowClass == L"Button") {
        v->buttons.push_back({id, WindowText(child)});
    } else if (windowClass == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        v->showsIcon = v->showsIcon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (id == MESSAGE_BOX_TEXT_ID && windowClass == L"Static") {
        v->text = WindowText(child);
    } else if (const std::string text = WindowText(child); !text.empty()) {
        v->otherTexts.push_back(text);
    }
    return TRUE;
}

}  // namespace message_box_view

/// Reads the box `window` through Win32 calls.
inline MessageBoxView ReadMessageBox(HWND window) {
    MessageBoxView view;
    view.windowClass = ClassOf(window);
    view.caption = WindowText(window);
    view.owner = ::GetWindow(window, GW_OWNER);
    ::EnumChildWindows(window, message_box_view::ReadChild, reinterpret_cast<LPARAM>(&view));
    return view;
}

}  // namespace velmora::testing
