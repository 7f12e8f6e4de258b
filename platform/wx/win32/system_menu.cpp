#include <windows.h>

#include "platform/windows/wide_text.h"
#include "platform/wx/system_menu.h"

namespace velmora::platform {

void AppendHelpItemToSystemMenu(void* nativeWindow, const std::string& text) {
    HMENU menu = ::GetSystemMenu(static_cast<HWND>(nativeWindow), FALSE);
    if (menu == nullptr) {
        return;
    }
    const std::wstring wide = windows::Utf8ToWide(text);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, HELP_MENU_COMMAND, wide.c_str());
}

}  // namespace velmora::platform
