// The system's shell, whichever the platform: what the tree needs of every
// implementation.
#include "platform/wx/shell.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/desktop/colour_bitmap.h"

namespace velmora::testing {
namespace {

TEST(SystemShellTest, StockIconsAreUsableAndDiffer) {
    const std::unique_ptr<platform::Shell> shell = platform::NewSystemShell();
    const wxBitmap currentDirectory = shell->CurrentDirectoryIcon();
    const wxBitmap drives = shell->DrivesIcon();
    ASSERT_TRUE(currentDirectory.IsOk());
    ASSERT_TRUE(drives.IsOk());
    EXPECT_EQ(currentDirectory.GetSize(), shell->SmallIconSize());
    EXPECT_EQ(drives.GetSize(), shell->SmallIconSize());
    EXPECT_FALSE(SamePixels(currentDirectory, drives));
}

}  // namespace
}  // namespace velmora::testing
