#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

/// A message for the console, or for the file or pipe standard output goes
/// to, in parts: the program's own words, and the names it quotes (paths,
/// the program's name), which come from the file system or the user and may
/// hold any character the system allows.
class ConsoleMessage {
  public:
    struct Part {
        std::string text;  ///< held as paths are
        bool isName = false;
    };

    /// The program's own words; "\n" ends a line.
    ConsoleMessage& Words(std::string_view words);
    /// A name the message quotes.
    ConsoleMessage& Name(std::string_view name);

    const std::vector<Part>& Parts() const { return parts; }

  private:
    std::vector<Part> parts;
};

/// Writes `message` to `stream` as the platform's own programs write text,
/// and flushes it, so that it is out before anything else happens.
///
/// POSIX: a file or a pipe gets the exact bytes. On a terminal, a name's
/// control characters (newline, escape, the other C0 and C1 controls) and
/// bytes that are not UTF-8 are shown escaped as `ls -b` shows them ("\n",
/// "\033", "\302\233"; a backslash as "\\"), so that a name can never drive
/// the terminal; the words go as they are.
///
/// Windows: a console gets the text as UTF-16 (WriteConsoleW), so every name
/// shows as it is whatever the code pages; a file or a pipe gets it in the
/// ANSI code page, '?' for a character the code page lacks. Either way a
/// line ends in "\r\n", as the C runtime's text mode writes "\n". (Windows
/// file names hold no control characters.)
void WriteMessage(std::FILE* stream, const ConsoleMessage& message);

/// WriteMessage for a text of the program's own words, quoting no name.
void WriteText(std::FILE* stream, std::string_view text);

}  // namespace velmora::platform
