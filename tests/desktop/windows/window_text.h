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

namespace window_search {

struct Search {
    const std::string& caption;
    HWND found;
};

inline BOOL CALLBACK Match(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    if (::IsWindowVisible(window) && WindowText(window) == s->caption) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace window_search

/// The first shown window captioned `caption` (UTF-8): a top-level window,
/// or one of the windows of `thread` when that is given. nullptr when none.
inline HWND ShownWindowCaptioned(const std::string& caption, DWORD thread = 0) {
    window_search::Search search{caption, nullptr};
    const auto data = reinterpret_cast<LPARAM>(&search);
    if (thread != 0) {
        ::EnumThreadWindows(thread, window_search::Match, data);
    } else {
        ::EnumWindows(window_search::Match, data);
    }
    return search.found;
}

}  // namespace velmora::testing
