#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/console.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {

void WriteText(std::FILE* stream, std::string_view text) {
    // The console's output code page, also for output redirected to a file
    // or a pipe, so that the bytes read back are the ones a console shows.
    // Without a console there is none (0): the ANSI code page stands in.
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = ::GetACP();
    }
    // A character the code page lacks shows as '?', never as a look-alike.
    std::string bytes =
        windows::WideToCodePage(windows::Utf8ToWide(text), codePage, windows::Missing::Question);
    if (bytes.empty() && !text.empty()) {
        bytes.assign(text);  // not convertible: better the bytes than nothing
    }
    // Lines end in "\n" alone, as on every other system: the stream's text
    // mode, which would write "\r\n", is set aside while the text goes out.
    std::fflush(stream);
    const int fd = _fileno(stream);
    const int previousMode = fd >= 0 ? _setmode(fd, _O_BINARY) : -1;
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
    if (previousMode != -1) {
        _setmode(fd, previousMode);
    }
}

}  // namespace velmora::platform
