#pragma once

namespace velmora::platform {

/// The command identifier of the item AppendHelpItem adds.
inline constexpr int kHelpMenuCommand = 0x10;

/// Adds a separator and the item "&Help.Please press key 'F1'." (command
/// kHelpMenuCommand, which does nothing) to the system menu of the top-level
/// window `nativeWindow` (its native handle). Where windows have no system
/// menu (GTK) it does nothing.
void AppendHelpItemToSystemMenu(void* nativeWindow);

}  // namespace velmora::platform
