#pragma once

#include <string_view>

namespace velmora::platform {

/// True when `name` matches `wildcard` under the rules of a shell folder
/// search: '*' is any run of characters, '?' one character, ASCII letters
/// match without regard to case, and a trailing ".*" also matches a name
/// without any dot.
bool MatchesWildcard(std::string_view wildcard, std::string_view name);

}  // namespace velmora::platform
