#include "platform/arguments.h"

namespace velmora::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace velmora::platform
