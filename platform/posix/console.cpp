#include <unistd.h>

#include "platform/console.h"
#include "platform/posix/terminal_text.h"

namespace velmora::platform {

void WriteMessage(std::FILE* stream, const ConsoleMessage& message) {
    const int fd = fileno(stream);
    const bool terminal = fd >= 0 && isatty(fd) == 1;
    std::string text;
    for (const ConsoleMessage::Part& part : message.Parts()) {
        text += terminal && part.isName ? posix::EscapeForTerminal(part.text) : part.text;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace velmora::platform
