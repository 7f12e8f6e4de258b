#pragma once

#include <string>

namespace velmora::platform {

/// The command identifier of the item AppendHelpItemToSystemMenu adds.
inline constexpr int HELP_MENU_COMMAND = 0x10;

/// Adds a separator and an item reading `text` (UTF-8; command
/// HELP_MENU_COMMAND, which does nothing) to the system menu of the
/// top-level window `nativeWindow` (its native handle). Where windows have no
/// system menu (GTK) it does nothing.
void AppendHelpItemToSystemMenu(void* nativeWindow, const std::string& text);

}  // namespace velmora::platform
