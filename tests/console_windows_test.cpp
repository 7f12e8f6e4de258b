// The console path of platform::WriteMessage on Windows: a console gets the
// text as UTF-16, so a name shows as it is whatever the console's code
// page; read back from the console's screen buffer, as the user sees it.
// (The file and pipe path is pinned by velmora-cli.exe's own tests.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/console.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {
namespace {

// The characters of row `row` of the console's screen buffer, without the
// blanks that fill it up.
std::wstring ScreenRow(HANDLE console, SHORT row) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    ::GetConsoleScreenBufferInfo(console, &info);
    std::wstring text(static_cast<size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ::ReadConsoleOutputCharacterW(console, text.data(), static_cast<DWORD>(text.size()), {0, row},
                                  &read);
    text.resize(read);
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

TEST(ConsoleTest, AConsoleShowsEveryNameAsItIs) {
    // A console of the test's own, with a screen to read back (under Wine a
    // program started without a terminal has a console without one).
    ::FreeConsole();
    if (!::AllocConsole()) {
        GTEST_SKIP() << "no console can be made here";
    }
    const HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) {
        GTEST_SKIP() << "no console to write to here";
    }
    // A code page that has none of the name's letters: they must not pass
    // through it.
    const UINT oldCodePage = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(437);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    ::GetConsoleScreenBufferInfo(console, &info);
    DWORD written = 0;
    ::FillConsoleOutputCharacterW(console, L' ', info.dwSize.X * info.dwSize.Y, {0, 0}, &written);
    ::SetConsoleCursorPosition(console, {0, 0});

    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(console), _O_WRONLY);
    std::FILE* stream = _fdopen(fd, "w");
    ASSERT_NE(stream, nullptr);
    const std::string name =
        "greek\\\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1-\xD0\x82-\xC5\x91.txt";
    WriteMessage(stream, ConsoleMessage().Words("encptry ").Name(name).Words(" successful!\n"));
    WriteMessage(stream, ConsoleMessage().Words("Encrypt file ").Name(name).Words(" error!"));

    EXPECT_EQ(ScreenRow(console, 0), L"encptry " + windows::Utf8ToWide(name) + L" successful!");
    EXPECT_EQ(ScreenRow(console, 1), L"Encrypt file " + windows::Utf8ToWide(name) + L" error!");
    std::fclose(stream);
    ::SetConsoleOutputCP(oldCodePage);
    ::FreeConsole();
}

}  // namespace
}  // namespace velmora::platform
