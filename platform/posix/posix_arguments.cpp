#include "platform/arguments.h"

namespace velmora::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string KeyBytesOf(const std::string& text) {
    return text;
}

}  // namespace velmora::platform
