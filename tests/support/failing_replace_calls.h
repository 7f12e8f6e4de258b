#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/replace_whole.h"

namespace velmora::testing {

/// What the replace calls of FailingReplaceCalls do differently from the
/// system's own, and what they saw.
struct ReplaceScript {
    /// Calls that fail with the given error instead of being made, by name:
    /// "Resolve", "OpenFolder", "CreateTemporary", "CreatePlaceholder",
    /// "OpenForWriting", "OpenForUpdate", "RenameNoReplace", "Link",
    /// "Exchange", "Rename", "Remove", "Write", "SetMode", "SetOwner",
    /// "Truncate", "Flush", "Close". A name followed by "#1" fails only the
    /// first time.
    std::map<std::string, std::error_code> failures;
    /// Each runs just before one call that puts a file in place (the first
    /// before the first such call, and so on), as another process renaming
    /// files in the folder would.
    std::vector<std::function<void()>> beforePlacing;
    /// When not 0, a file read or written moves at most this many bytes a
    /// call, as a network file system or an interrupted call may.
    std::size_t mostBytesPerCall = 0;
    /// Every call made to a folder or file, by name, in order.
    std::vector<std::string> calls;
};

/// The system's own replace calls (platform::SystemReplaceCalls()), except
/// those `script` makes fail; it writes down every call in `script`.
std::unique_ptr<platform::ReplaceSystem> FailingReplaceCalls(ReplaceScript& script);

/// The error a call fails with as the system gives it.
inline std::error_code Errc(std::errc error) {
    return std::make_error_code(error);
}

}  // namespace velmora::testing

namespace velmora::platform {

/// How test failures show a ReplaceResult.
inline void PrintTo(ReplaceResult result, std::ostream* out) {
    *out << ToString(result);
}

}  // namespace velmora::platform
