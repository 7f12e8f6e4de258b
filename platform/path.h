#pragma once

namespace velmora::platform {

/// The separator between the parts of a path on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace velmora::platform
