#include "platform/temporary_name.h"

#include <atomic>
#include <cstdio>

namespace velmora::platform {

std::string TemporaryName(std::uint64_t clock, std::uint64_t processId, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    std::uint64_t mix = clock ^ (processId << 32) ^ (++counter + attempt);
    mix *= 0x9E3779B97F4A7C15ull;
    char name[32];
    std::snprintf(name, sizeof name, ".velmora-%08x.tmp", static_cast<unsigned>(mix >> 32));
    return name;
}

}  // namespace velmora::platform
