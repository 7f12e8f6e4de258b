#include "platform/console.h"

namespace velmora::platform {

ConsoleMessage& ConsoleMessage::Words(std::string_view words) {
    parts.push_back({std::string(words), false});
    return *this;
}

ConsoleMessage& ConsoleMessage::Name(std::string_view name) {
    parts.push_back({std::string(name), true});
    return *this;
}

void WriteText(std::FILE* stream, std::string_view text) {
    WriteMessage(stream, ConsoleMessage().Words(text));
}

}  // namespace velmora::platform
