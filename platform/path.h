#pragma once

namespace velmora::platform {

/// The separator between the parts of a path on this platform.
#ifdef _WIN32
inline constexpr char PATH_SEPARATOR = '\\';
#else
inline constexpr char PATH_SEPARATOR = '/';
#endif

}  // namespace velmora::platform
