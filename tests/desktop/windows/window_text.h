#pragma once

// What the end-to-end run's readers of the screen share.
#include <windows.h>

#include <string>

#include "platform/windows/wide_text.h"

namespace velmora::testing {

/// The text of a window, in UTF-8: a top-level window's caption, or what a
/// control shows.
inline std::string WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), int(text.size()))));
    return platform::windows::WideToUtf8(text);
}

}  // namespace velmora::testing
