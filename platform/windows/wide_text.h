#pragma once

#include <string>
#include <string_view>

namespace velmora::platform::windows {

/// The UTF-16 form of UTF-8 `text`, for the wide Windows calls that every
/// path and argument goes through. Bytes that are not UTF-8 become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);

/// The UTF-8 form of UTF-16 `text`, the way paths and arguments are held
/// inside the program. A lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);

/// How WideToCodePage writes a character the code page lacks.
enum class Missing {
    ClosestFit,  ///< a similar character ("a" for "α") or '?', as the system's ANSI calls do
    Question,    ///< always '?'
};

/// `text` in the code page `codePage` (CP_ACP, a console's code page, ...).
std::string WideToCodePage(std::wstring_view text, unsigned codePage, Missing missing);

}  // namespace velmora::platform::windows
