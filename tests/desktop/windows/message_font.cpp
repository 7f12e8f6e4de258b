// Sets the system's message font for the running session (not saved), for
// the end-to-end run of velmora.exe under Wine: Wine's default message font
// is "MS Shell Dlg" at 8 points, the font velmora's dialog is laid out in,
// so that a program laid out in the message font could not be told apart
// from one in its own font; with another message font, as today's Windows
// has (9 points), it can.
//
// Usage: message_font FACE POINTS
//
// Prints the message font it replaced as "POINTS FACE"; exits 1 when the
// system refuses.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "platform/windows/wide_text.h"

int main(int argc, char** argv) {
    using velmora::platform::windows::Utf8ToWide;
    using velmora::platform::windows::WideToUtf8;
    const std::vector<std::string> arguments = velmora::platform::ProgramArguments(argc, argv);
    if (arguments.size() != 3) {
        std::fputs("usage: message_font FACE POINTS\n", stderr);
        return 2;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return 1;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    LOGFONTW& font = metrics.lfMessageFont;
    std::printf("%d %s\n", ::MulDiv(-font.lfHeight, 72, dpi), WideToUtf8(font.lfFaceName).c_str());
    std::wcsncpy(font.lfFaceName, Utf8ToWide(arguments[1]).c_str(), LF_FACESIZE - 1);
    font.lfHeight = -::MulDiv(std::stoi(arguments[2]), dpi, 72);
    return ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ? 0 : 1;
}
