// The GIO shell: display names, themed icon names, icon bitmaps, drive icons
// for volume roots, the stock icons and the volume list.
#include "platform/wx/gtk/shell.h"

#include <gio/gio.h>
#include <gio/gunixmounts.h>
#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/image.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/wx/bitmap_at_size.h"
#include "tests/desktop/colour_bitmap.h"
#include "tests/desktop/shell_expectations.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {
namespace {

using platform::GioShell;

/// The themed icon names the Unix mount table gives the volume mounted at
/// `mountPath` (no trailing '/' except for the root); none when nothing is
/// mounted there.
std::vector<std::string> MountTableIconNames(const std::string& mountPath) {
    std::vector<std::string> names;
    GUnixMountEntry* mount = g_unix_mount_at(mountPath.c_str(), nullptr);
    if (mount == nullptr) {
        return names;
    }
    GIcon* icon = g_unix_mount_guess_icon(mount);
    if (icon != nullptr && G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon));
             name != nullptr && *name != nullptr; ++name) {
            names.emplace_back(*name);
        }
    }
    if (icon != nullptr) {
        g_object_unref(icon);
    }
    g_unix_mount_free(mount);
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(GioShellTest, DescribesFoldersAndFilesWithNamesAndThemedIcons) {
    TempDir dir;
    const std::string folder = dir.MakeDir("My folder");
    const std::string file = dir.Write("notes.txt", "text");
    const GioShell shell;

    const auto folderInfo = shell.Describe(folder);
    EXPECT_EQ(folderInfo.displayName, "My folder");
    ExpectIconsOfExactSize(folderInfo, shell);
    const auto folderNames = GioShell::IconNamesOf(folder);
    EXPECT_TRUE(folderNames.isDirectory);
    ASSERT_FALSE(folderNames.icon.empty());
    EXPECT_TRUE(Contains(folderNames.icon, "folder"));
    ASSERT_FALSE(folderNames.openIcon.empty());
    EXPECT_EQ(folderNames.openIcon.front(), "folder-open");
    EXPECT_FALSE(SamePixels(folderInfo.icon, folderInfo.openIcon)) << "an open folder shows so";

    const auto fileInfo = shell.Describe(file);
    EXPECT_EQ(fileInfo.displayName, "notes.txt");
    ExpectIconsOfExactSize(fileInfo, shell);
    const auto fileNames = GioShell::IconNamesOf(file);
    EXPECT_FALSE(fileNames.isDirectory);
    ASSERT_FALSE(fileNames.icon.empty());
    EXPECT_EQ(fileNames.openIcon, fileNames.icon);
    EXPECT_TRUE(SamePixels(fileInfo.icon, fileInfo.openIcon));
    EXPECT_FALSE(SamePixels(fileInfo.icon, folderInfo.icon));
}

TEST(GioShellTest, PathItCannotReadIsStillNamedAndGetsGenericIcons) {
    TempDir dir;
    const GioShell shell;
    const auto info = shell.Describe(dir / "gone.txt");
    EXPECT_EQ(info.displayName, "gone.txt");
    ExpectIconsOfExactSize(info, shell);
    const auto names = GioShell::IconNamesOf(dir / "gone.txt");
    EXPECT_TRUE(names.icon.empty());
    EXPECT_TRUE(names.openIcon.empty());
    EXPECT_FALSE(names.isDirectory);
}

// "/" and any folder path ending in '/' are volume roots: the mount table's
// icon for the volume, then the generic drive icons; never a folder's.
TEST(GioShellTest, VolumeRootsGetDriveIconsRatherThanFolderIcons) {
    TempDir dir;
    const GioShell shell;
    const wxBitmap folderIcon = shell.Describe(dir.Path().string()).icon;
    const struct {
        const char* what;
        std::string path;
        std::string mountPath;
    } cases[] = {
        {"the root", "/", "/"},
        {"a folder path ending in '/'", dir.Path().string() + "/", dir.Path().string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto names = GioShell::IconNamesOf(c.path);
        EXPECT_TRUE(names.isDirectory);
        const std::vector<std::string> fromMountTable = MountTableIconNames(c.mountPath);
        ASSERT_GE(names.icon.size(), fromMountTable.size());
        EXPECT_TRUE(std::equal(fromMountTable.begin(), fromMountTable.end(), names.icon.begin()))
            << "the mount table's names come first";
        EXPECT_TRUE(Contains(names.icon, "drive-harddisk"));
        EXPECT_FALSE(Contains(names.icon, "folder"));
        EXPECT_EQ(names.openIcon, names.icon);

        const auto info = shell.Describe(c.path);
        ExpectIconsOfExactSize(info, shell);
        EXPECT_FALSE(SamePixels(info.icon, folderIcon)) << "drawn as a drive, not a folder";
        EXPECT_TRUE(SamePixels(info.icon, info.openIcon));
    }
}

// The two stock icons are the icon theme's own "folder" and "drive-harddisk"
// at the shell's size, as wxWidgets gets them from the theme by name; with
// no theme that has them, the shell would fall back to wxWidgets' own art.
TEST(GioShellTest, StockIconsAreTheThemesFolderAndDrive) {
    const GioShell shell;
    const wxSize size = shell.SmallIconSize();
    const struct {
        const char* what;
        wxBitmap icon;
        const char* themeName;
    } cases[] = {
        {"current directory", shell.CurrentDirectoryIcon(), "folder"},
        {"Drives", shell.DrivesIcon(), "drive-harddisk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const wxBitmap themed = wxArtProvider::GetBitmap(c.themeName, wxART_OTHER, size);
        ASSERT_TRUE(themed.IsOk()) << "the icon theme has no \"" << c.themeName << "\"";
        EXPECT_TRUE(SamePixels(c.icon, platform::BitmapAtSize(themed, size)));
    }
}

TEST(GioShellTest, VolumesStartAtTheRootAndEndInSlashes) {
    const auto roots = GioShell().VolumeRoots();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(roots.front(), "/");
    for (size_t i = 1; i < roots.size(); ++i) {
        EXPECT_EQ(roots[i].back(), '/') << roots[i];
        EXPECT_NE(roots[i], "/");
    }
}

}  // namespace
}  // namespace velmora::testing
