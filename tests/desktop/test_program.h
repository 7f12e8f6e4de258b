#pragma once

#include <string>

namespace velmora::testing {

/// The path the running test program was started as (its argv[0]), as the
/// test main recorded it.
const std::string& TestProgramPath();

}  // namespace velmora::testing
