// Replacing a file whole or not at all, and reading one, on any platform.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/file_system_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(ReplaceWholeTest, CreatesANewFileOrReplacesAnOldOne) {
    ASSERT_TRUE(Replace("new.ser"));
    EXPECT_EQ(ReadFile(dir / "new.ser"), NEW_BYTES);

    dir.Write("old.ser", std::string(500, 'o'));  // longer than the new content
    ASSERT_TRUE(Replace("old.ser"));
    EXPECT_EQ(ReadFile(dir / "old.ser"), NEW_BYTES);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ReplaceWholeTest, AnExistingNameIsReplacedOnlyWhenAllowed) {
    dir.Write("notes.ser.d/data", OLD_BYTES);
    EXPECT_FALSE(Replace("notes.ser.d/data", false));
    EXPECT_EQ(ReadFile(dir / "notes.ser.d/data"), OLD_BYTES);

    EXPECT_TRUE(Replace("notes.ser.d/fresh", false)) << "a free name is created";
    EXPECT_EQ(ReadFile(dir / "notes.ser.d/fresh"), NEW_BYTES);
    EXPECT_FALSE(Replace("missing-folder/data")) << "the folder must exist";
}

TEST_F(ReplaceWholeTest, NeverReplacesTheFileItMustKeep) {
    EXPECT_FALSE(Replace("a.txt"));
    input.reset();  // held without sharing on some systems: let go first
    EXPECT_EQ(ReadFile(dir / "a.txt"), "the input");
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST(OpenForReading, ReadsRegularFilesWhole) {
    TempDir dir;
    const std::string text = "twelve bytes";
    const auto path = dir.Write("a.txt", text);
    platform::RealFileSystem files;
    auto input = files.OpenForReading(path);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->Size(), text.size());
    std::string buffer(64, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
    EXPECT_EQ(input->Read(bytes, 5), 5) << "stops when the buffer is full";
    EXPECT_EQ(input->Read(bytes + 5, 59), static_cast<std::int64_t>(text.size() - 5));
    EXPECT_EQ(buffer.substr(0, text.size()), text);
    EXPECT_NE(files.OpenForReading(dir.Write("b.txt", text))->Identity(), input->Identity());

    dir.MakeDir("folder");
    for (const std::string name : {"missing", "folder"}) {
        EXPECT_EQ(files.OpenForReading(dir / name), nullptr) << name;
    }
}

}  // namespace
}  // namespace velmora::testing
