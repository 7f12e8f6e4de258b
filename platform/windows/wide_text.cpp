#include "platform/windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace velmora::platform::windows {
namespace {

// The conversions take int lengths; no path or message comes near that.
int LengthOf(std::size_t size) {
    return size > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(size);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
    const int length = LengthOf(text.size());
    if (length <= 0) {
        return std::wstring();
    }
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int made = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
    wide.resize(made > 0 ? static_cast<std::size_t>(made) : 0);
    return wide;
}

std::string WideToCodePage(std::wstring_view text, unsigned codePage, Missing missing) {
    const int length = LengthOf(text.size());
    if (length <= 0) {
        return std::string();
    }
    // UTF-8 and a few other code pages take no flags: they have no closest
    // fit to turn off. Their default character arguments must be null too.
    DWORD flags = missing == Missing::Question ? WC_NO_BEST_FIT_CHARS : 0;
    int needed =
        ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 && flags != 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        needed = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr,
                                       nullptr);
    }
    if (needed <= 0) {
        return std::string();
    }
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    const int made = ::WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(),
                                           needed, nullptr, nullptr);
    bytes.resize(made > 0 ? static_cast<std::size_t>(made) : 0);
    return bytes;
}

std::string WideToUtf8(std::wstring_view text) {
    return WideToCodePage(text, CP_UTF8, Missing::Question);
}

}  // namespace velmora::platform::windows
