#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>

#include "platform/console.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {
namespace {

/// "\n" as the C runtime's text mode writes it: "\r\n".
template <typename Text>
Text WithCrLf(const Text& text) {
    Text out;
    out.reserve(text.size() + text.size() / 16);
    for (const auto c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace

void WriteMessage(std::FILE* stream, const ConsoleMessage& message) {
    std::string text;
    for (const ConsoleMessage::Part& part : message.Parts()) {
        text += part.text;
    }
    std::fflush(stream);
    const int fd = _fileno(stream);
    const HANDLE handle = fd >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(fd)) : nullptr;
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 as it is, whatever its code page.
        const std::wstring wide = WithCrLf(windows::Utf8ToWide(text));
        DWORD written = 0;
        for (size_t at = 0; at < wide.size(); at += written) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 16384));
            if (!::WriteConsoleW(handle, wide.data() + at, chunk, &written, nullptr) ||
                written == 0) {
                break;
            }
        }
        return;
    }
    // Files and pipes get the ANSI code page, as programs using the system's
    // narrow calls write names; a character the code page lacks shows as
    // '?', never as a look-alike.
    std::string bytes =
        windows::WideToCodePage(windows::Utf8ToWide(text), ::GetACP(), windows::Missing::Question);
    if (bytes.empty() && !text.empty()) {
        bytes.assign(text);  // not convertible: better the bytes than nothing
    }
    bytes = WithCrLf(bytes);
    // The line ends are in the bytes already: the stream's own text mode is
    // set aside while they go out.
    const int previousMode = fd >= 0 ? _setmode(fd, _O_BINARY) : -1;
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
    if (previousMode != -1) {
        _setmode(fd, previousMode);
    }
}

}  // namespace velmora::platform
