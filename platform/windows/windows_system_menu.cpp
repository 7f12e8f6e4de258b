#include <windows.h>

#include "platform/system_menu.h"

namespace velmora::platform {
namespace {

/// The string resource of the system menu's help item.
constexpr UINT kHelpItemString = 101;

}  // namespace

void AppendHelpItemToSystemMenu(void* nativeWindow) {
    HMENU menu = ::GetSystemMenu(static_cast<HWND>(nativeWindow), FALSE);
    if (menu == nullptr) {
        return;
    }
    wchar_t text[256];
    if (::LoadStringW(::GetModuleHandleW(nullptr), kHelpItemString, text, 256) <= 0) {
        return;
    }
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kHelpMenuCommand, text);
}

}  // namespace velmora::platform
