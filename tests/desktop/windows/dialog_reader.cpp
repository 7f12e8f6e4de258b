// Reads velmora's dialog as another Windows program sees it, for the end-to-
// end run of velmora.exe under Wine: the controls the program addresses,
// found by their ids, with their window classes, texts and push-button
// styles, and where they sit. Where they must sit is worked out by the
// system itself: a dialog made here from a template in "MS Shell Dlg" at
// 8 points, 295 x 221 dialog units, converts the template's rectangles
// (MapDialogRect).
//
// Usage: dialog_reader WINDOW_TITLE
//
// Prints what it finds and exits 0 when everything is as the template has
// it, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "platform/windows/wide_text.h"
#include "tests/desktop/windows/message_box_view.h"
#include "tests/desktop/windows/window_text.h"

namespace {

using velmora::testing::ClassOf;
using velmora::testing::WindowText;

constexpr int DIALOG_WIDTH = 295;
constexpr int DIALOG_HEIGHT = 221;

struct Control {
    int id;
    const wchar_t* windowClass;
    const char* text;           // null: not compared
    short x, y, width, height;  // dialog units; a height of 0 is not compared
    bool defaultPushButton;
};

const Control CONTROLS[] = {
    {IDOK, L"Button", "Encrypt", 180, 192, 50, 14, true},
    {1000, L"SysTreeView32", nullptr, 14, 46, 266, 128, false},
    {1003, L"Edit", "", 87, 192, 88, 13, false},
    {IDCANCEL, L"Button", "Exit", 234, 192, 46, 14, true},
    // The combo box keeps its natural height.
    {1007, L"ComboBox", nullptr, 83, 24, 190, 0, false},
};

INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A hidden dialog made by the system from a template of the dialog's size in
// "MS Shell Dlg" at 8 points, with a control of the same id at each
// rectangle of CONTROLS (a static text: only its place counts); null when
// it cannot be made.
HWND MakeTemplateDialog() {
    alignas(4) static WORD buffer[512] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog->cdit = static_cast<WORD>(std::size(CONTROLS));
    dialog->cx = DIALOG_WIDTH;
    dialog->cy = DIALOG_HEIGHT;
    // After the header: no menu, the default class, an empty title, then the
    // font's size and name.
    WORD* words = reinterpret_cast<WORD*>(dialog + 1);
    *words++ = 0;
    *words++ = 0;
    *words++ = 0;
    *words++ = 8;
    for (const wchar_t* c = L"MS Shell Dlg"; *c != L'\0'; ++c) {
        *words++ = static_cast<WORD>(*c);
    }
    *words++ = 0;
    for (const Control& c : CONTROLS) {
        // Each control's header starts on a four-byte boundary.
        if ((words - buffer) % 2 != 0) {
            *words++ = 0;
        }
        auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(words);
        item->style = WS_CHILD;
        item->x = c.x;
        item->y = c.y;
        item->cx = c.width;
        item->cy = c.height;
        item->id = static_cast<WORD>(c.id);
        words = reinterpret_cast<WORD*>(item + 1);
        *words++ = 0xFFFF;  // a class by its atom:
        *words++ = 0x0082;  // static
        *words++ = 0;       // no text
        *words++ = 0;       // no creation data
    }
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialog, nullptr,
                                        IgnoreMessages, 0);
}

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
           std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = velmora::platform::ProgramArguments(argc, argv);
    if (arguments.size() != 2) {
        std::fputs("usage: dialog_reader WINDOW_TITLE\n", stderr);
        return 2;
    }
    const HWND dialog = velmora::testing::ShownWindowCaptioned(arguments[1]);
    const HWND model = MakeTemplateDialog();
    if (dialog == nullptr || model == nullptr) {
        std::printf("%s\n", dialog == nullptr ? "no such window" : "no template dialog");
        return 1;
    }
    int failures = 0;
    const auto check = [&](bool ok, const std::string& what) {
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
        failures += ok ? 0 : 1;
    };

    RECT base{0, 0, 4, 8};
    ::MapDialogRect(model, &base);
    std::printf("dialog units of MS Shell Dlg 8 pt: %ld x %ld pixels per 4 x 8\n", base.right,
                base.bottom);
    RECT expected{}, shown{};
    ::GetClientRect(model, &expected);
    ::GetClientRect(dialog, &shown);
    check(shown.right == expected.right && shown.bottom == expected.bottom,
          "client area " + Describe(shown) + ", " + std::to_string(DIALOG_WIDTH) + " x " +
              std::to_string(DIALOG_HEIGHT) + " dialog units: " + Describe(expected));

    for (const Control& c : CONTROLS) {
        const HWND control = ::GetDlgItem(dialog, c.id);
        const std::string name = "control " + std::to_string(c.id);
        if (control == nullptr) {
            check(false, name + ": missing");
            continue;
        }
        check(ClassOf(control) == c.windowClass,
              name + " class " + velmora::platform::windows::WideToUtf8(ClassOf(control)));
        if (c.text != nullptr) {
            check(WindowText(control) == c.text, name + " text [" + WindowText(control) + "]");
        }
        RECT want = ClientRectOf(::GetDlgItem(model, c.id), model);
        RECT have = ClientRectOf(control, dialog);
        if (c.height == 0) {
            have.bottom = have.top;
            want.bottom = want.top;
        }
        check(::EqualRect(&have, &want) != FALSE,
              name + " at " + Describe(have) + ", the template's " + Describe(want));
        if (c.defaultPushButton) {
            const LONG style = ::GetWindowLongW(control, GWL_STYLE);
            check((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON, name + " is a default push button");
        }
    }
    ::DestroyWindow(model);
    return failures == 0 ? 0 : 1;
}
