#include <windows.h>

#include "platform/key_text.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {

std::string KeyBytesFromText(const std::string& text) {
    // The bytes the key had as an ANSI argument (argv): one per character
    // under a single-byte code page such as 1252, a character the code page
    // lacks made into its closest fit as the system makes it there.
    return windows::WideToCodePage(windows::Utf8ToWide(text), CP_ACP, windows::Missing::ClosestFit);
}

}  // namespace velmora::platform
