// The GIO shell: display names, themed icon names and the volume list.
#include "platform/gio_shell.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace velmora::testing {
namespace {

TEST(GioShellTest, DescribesFoldersAndFilesWithNamesAndThemedIcons) {
    TempDir dir;
    const std::string folder = dir.MakeDir("My folder");
    const std::string file = dir.Write("notes.txt", "text");
    const platform::GioShell shell;

    const auto folderInfo = shell.Describe(folder);
    EXPECT_EQ(folderInfo.displayName, "My folder");
    EXPECT_TRUE(folderInfo.isDirectory);
    ASSERT_FALSE(folderInfo.iconNames.empty());
    ASSERT_FALSE(folderInfo.openIconNames.empty());
    EXPECT_EQ(folderInfo.openIconNames.front(), "folder-open");

    const auto fileInfo = shell.Describe(file);
    EXPECT_EQ(fileInfo.displayName, "notes.txt");
    EXPECT_FALSE(fileInfo.isDirectory);
    ASSERT_FALSE(fileInfo.iconNames.empty());
    EXPECT_EQ(fileInfo.openIconNames, fileInfo.iconNames);
}

TEST(GioShellTest, PathItCannotReadIsStillNamed) {
    TempDir dir;
    const auto info = platform::GioShell().Describe(dir / "gone.txt");
    EXPECT_EQ(info.displayName, "gone.txt");
    EXPECT_TRUE(info.iconNames.empty());
    EXPECT_FALSE(info.isDirectory);
}

TEST(GioShellTest, VolumesStartAtTheRootAndEndInSlashes) {
    const auto roots = platform::GioShell().VolumeRoots();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(roots.front(), "/");
    for (size_t i = 1; i < roots.size(); ++i) {
        EXPECT_EQ(roots[i].back(), '/') << roots[i];
        EXPECT_NE(roots[i], "/");
    }
}

}  // namespace
}  // namespace velmora::testing
