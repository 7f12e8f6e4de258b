// The Windows shell: display names, small icons of the system's size, drive
// roots and the two stock icons of shell32.dll.
#include "platform/wx/win32/shell.h"

#include <gtest/gtest.h>
#include <wx/icon.h>
#include <wx/msw/wrapwin.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/wx/bitmap_at_size.h"
#include "tests/desktop/colour_bitmap.h"
#include "tests/desktop/shell_expectations.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {
namespace {

using platform::WindowsShell;

TEST(WindowsShellTest, IconsAreTheSystemsSmallIconSize) {
    const WindowsShell shell;
    EXPECT_EQ(shell.SmallIconSize(),
              wxSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
    EXPECT_GT(shell.SmallIconSize().GetWidth(), 0);
}

TEST(WindowsShellTest, DescribesFoldersAndFilesWithNamesAndIcons) {
    TempDir dir;
    const WindowsShell shell;
    const struct {
        const char* what;
        std::string path;
        std::string name;
    } cases[] = {
        {"folder", dir.MakeDir("My folder"), "My folder"},
        {"file", dir.Write("notes.txt", "text"), "notes"},
        {"name outside the ANSI code page", dir.Write("\xe6\x97\xa5\xe6\x9c\xac.txt", "text"),
         "\xe6\x97\xa5\xe6\x9c\xac"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto info = shell.Describe(c.path);
        // The shell may leave known extensions out.
        EXPECT_EQ(info.displayName.rfind(c.name, 0), 0u) << info.displayName;
        ExpectIconsOfExactSize(info, shell);
    }
    EXPECT_FALSE(
        SamePixels(shell.Describe(dir / "My folder").icon, shell.Describe(dir / "notes.txt").icon))
        << "a folder is not drawn as a file";
}

/// The picture of an icon handle, which is destroyed with it; an invalid
/// bitmap for no handle.
wxBitmap BitmapOfIcon(HICON handle) {
    wxBitmap bitmap;
    if (handle != nullptr) {
        wxIcon icon;
        icon.CreateFromHICON(handle);
        bitmap.CopyFromIcon(icon);
    }
    return bitmap;
}

/// What SHGetFileInfoW says of the path itself: its name and small icon
/// (`open`: the open one).
std::pair<std::string, wxBitmap> ShellViewOf(const std::string& path, bool open) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(
        FromUtf8(path).wstring().c_str(), 0, &info, sizeof info,
        SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | (open ? SHGFI_OPENICON : 0));
    char name[4 * MAX_PATH] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, info.szDisplayName, -1, name, sizeof name, nullptr, nullptr);
    return {name, BitmapOfIcon(info.hIcon)};
}

// Plain folders, and files of a type that draws all its files alike (text
// files), are described from their names alone; the others (programs: each
// shows the icon in it; a read-only folder, which may have a desktop.ini) by
// the shell looking at them: either way, as the shell shows them.
TEST(WindowsShellTest, EntriesLookAsTheShellShowsThem) {
    TempDir dir;
    const WindowsShell shell;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string program = dir / "copy.exe";
    std::filesystem::copy_file(self, FromUtf8(program));
    const std::string readOnly = dir.MakeDir("read-only folder");
    ::SetFileAttributesW(FromUtf8(readOnly).wstring().c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::string& path :
         {dir.Write("notes.txt", "text"), program, dir.Write("data.velmora-unknown", "data"),
          dir.Write("no extension", "data"), dir.MakeDir("folder"), readOnly}) {
        SCOPED_TRACE(path);
        const auto [name, icon] = ShellViewOf(path, false);
        const auto info = shell.Describe(path);
        EXPECT_EQ(info.displayName, name);
        EXPECT_TRUE(SamePixels(info.icon, icon));
        EXPECT_TRUE(SamePixels(info.openIcon, ShellViewOf(path, true).second));
    }
    ::SetFileAttributesW(FromUtf8(readOnly).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The two stock icons are shell32.dll's icons 264 (the current directory)
// and 15 ("Drives"), pixel for pixel as ExtractIconExW gives their small
// images. Where the library has fewer icons (Wine's has no 264), any icon
// serves: what every shell's stock icons must be is in shell_test.cpp.
TEST(WindowsShellTest, StockIconsAreShell32sIcons264And15) {
    const WindowsShell shell;
    const UINT icons = ::ExtractIconExW(L"shell32.dll", -1, nullptr, nullptr, 0);
    ASSERT_GT(icons, 15u) << "shell32.dll has icon 15 on every system";
    const struct {
        const char* what;
        wxBitmap icon;
        UINT index;
    } cases[] = {
        {"current directory", shell.CurrentDirectoryIcon(), 264},
        {"Drives", shell.DrivesIcon(), 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.index >= icons) {
            continue;
        }
        HICON small = nullptr;
        ASSERT_EQ(::ExtractIconExW(L"shell32.dll", static_cast<int>(c.index), nullptr, &small, 1),
                  1u);
        const wxBitmap own = BitmapOfIcon(small);
        ASSERT_TRUE(own.IsOk());
        EXPECT_TRUE(SamePixels(c.icon, platform::BitmapAtSize(own, shell.SmallIconSize())));
    }
}

TEST(WindowsShellTest, PathItCannotReadIsStillNamedAndGetsIcons) {
    TempDir dir;
    const WindowsShell shell;
    const auto info = shell.Describe(dir / "gone.txt");
    EXPECT_EQ(info.displayName.rfind("gone", 0), 0u) << info.displayName;
    ExpectIconsOfExactSize(info, shell);
}

TEST(WindowsShellTest, DriveRootsAreLettersColonBackslash) {
    const WindowsShell shell;
    const auto roots = shell.VolumeRoots();
    ASSERT_FALSE(roots.empty());
    for (const std::string& root : roots) {
        SCOPED_TRACE(root);
        ASSERT_EQ(root.size(), 3u);
        EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z');
        EXPECT_EQ(root.substr(1), ":\\");
        const auto info = shell.Describe(root);
        EXPECT_FALSE(info.displayName.empty());
        ExpectIconsOfExactSize(info, shell);
    }
    EXPECT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end())) << "in the system's order, A to Z";
}

}  // namespace
}  // namespace velmora::testing
