#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/current_directory.h"

namespace velmora::platform {

std::string CurrentDirectory() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}

}  // namespace velmora::platform
