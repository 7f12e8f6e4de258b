#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include "platform/arguments.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    // argv holds the arguments in the ANSI code page, where a name with
    // characters outside it is lost; the wide command line holds them all.
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        arguments.push_back(windows::WideToUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

}  // namespace velmora::platform
