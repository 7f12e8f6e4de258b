#pragma once

#include <cstdint>
#include <string>

namespace velmora::platform {

/// A fresh name for a temporary file beside an output, ".velmora-XXXXXXXX.tmp":
/// hidden by its leading dot, and matched by no "*.txt" or "*.ser" search.
/// `clock` and `processId` make names differ between processes; a counter
/// makes them differ within one, and `attempt` between tries after a clash.
std::string TemporaryName(std::uint64_t clock, std::uint64_t processId, unsigned attempt);

}  // namespace velmora::platform
