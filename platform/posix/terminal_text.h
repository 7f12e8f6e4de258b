#pragma once

#include <string>
#include <string_view>

namespace velmora::platform::posix {

/// `name` as a terminal may show it: every character that could drive the
/// terminal (the C0 controls, DEL, the C1 controls U+0080 to U+009F) and
/// every byte that is not part of a UTF-8 character, as `ls -b` writes
/// them: "\a", "\b", "\t", "\n", "\v", "\f", "\r", else a backslash and
/// three octal digits per byte ("\033", "\302\233"); a backslash itself as
/// "\\", so that what is shown is never ambiguous. Everything else, UTF-8
/// letters included, stays as it is.
std::string EscapeForTerminal(std::string_view name);

}  // namespace velmora::platform::posix
