// Replacing a file whole or not at all, through every kind of thing the
// output name can be.
#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

const std::string NEW_BYTES = "new bytes, thirty-two of them!!!";
const std::string OLD_BYTES = "old content";

// While it lives, files cannot grow beyond `bytes`: a write past that fails
// (with SIGXFSZ ignored), as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

class ReplaceWholeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        input = files.OpenForReading(dir.Write("a.txt", "the input"));
        ASSERT_NE(input, nullptr);
    }

    bool Replace(const std::string& name, bool mayReplaceExisting = true) {
        const auto* data = reinterpret_cast<const unsigned char*>(NEW_BYTES.data());
        return files.ReplaceWhole(dir / name, data, NEW_BYTES.size(), *input, mayReplaceExisting);
    }

    // The hidden temporary files left in the folder, if any.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(".velmora-", 0) == 0) {
                names.push_back(name);
            }
        }
        return names;
    }

    TempDir dir;
    RealFileSystem files;
    std::unique_ptr<InputFile> input;
};

TEST_F(ReplaceWholeTest, WritesThroughEveryRegularDestination) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&)> make;  // what "a.ser" is before
        std::string precious;                      // content of "precious" afterwards
        bool serIsLink;
    };
    const Case cases[] = {
        {"nothing yet", [](const TempDir&) {}, OLD_BYTES, false},
        {"regular file", [](const TempDir& d) { d.Write("a.ser", OLD_BYTES); }, OLD_BYTES, false},
        {"symbolic link: the link stays, its target is replaced",
         [](const TempDir& d) { fs::create_symlink("precious", d / "a.ser"); }, NEW_BYTES, true},
        {"link to a link",
         [](const TempDir& d) {
             fs::create_symlink("precious", d / "middle");
             fs::create_symlink("middle", d / "a.ser");
         },
         NEW_BYTES, true},
        {"hard link: only this name gets the new file",
         [](const TempDir& d) { fs::create_hard_link(d / "precious", d / "a.ser"); }, OLD_BYTES,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir / "a.ser");
        fs::remove(dir / "middle");
        dir.Write("precious", OLD_BYTES);
        c.make(dir);
        ASSERT_TRUE(Replace("a.ser"));
        EXPECT_EQ(ReadFile(dir / "a.ser"), NEW_BYTES);
        EXPECT_EQ(ReadFile(dir / "precious"), c.precious);
        EXPECT_EQ(fs::is_symlink(dir / "a.ser"), c.serIsLink);
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

TEST_F(ReplaceWholeTest, AnExistingNameIsReplacedOnlyWhenAllowed) {
    dir.Write("notes.ser.d/data", OLD_BYTES);
    EXPECT_FALSE(Replace("notes.ser.d/data", false));
    EXPECT_EQ(ReadFile(dir / "notes.ser.d/data"), OLD_BYTES);
    fs::create_symlink("nowhere", dir / "dangling");
    EXPECT_FALSE(Replace("dangling", false));

    EXPECT_TRUE(Replace("notes.ser.d/fresh", false)) << "a free name is created";
    EXPECT_EQ(ReadFile(dir / "notes.ser.d/fresh"), NEW_BYTES);
    EXPECT_FALSE(Replace("missing-folder/data")) << "the folder must exist";
}

TEST_F(ReplaceWholeTest, PermissionBitsOfAReplacedFileAreKept) {
    const auto mask = umask(022);
    umask(mask);
    EXPECT_TRUE(Replace("fresh.ser"));
    EXPECT_EQ(fs::status(dir / "fresh.ser").permissions(),
              fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                  ~fs::perms::others_exec & ~static_cast<fs::perms>(mask));

    for (const auto mode : {fs::perms::owner_read | fs::perms::owner_write,
                            fs::perms::owner_all | fs::perms::group_read}) {
        dir.Write("kept.ser", OLD_BYTES);
        fs::permissions(dir / "kept.ser", mode);
        EXPECT_TRUE(Replace("kept.ser"));
        EXPECT_EQ(fs::status(dir / "kept.ser").permissions(), mode);
    }
}

// A write that fails half-way (the file-size limit stands in for a full
// disk) loses nothing, whatever the old name was.
TEST_F(ReplaceWholeTest, AFailedWriteLeavesEveryOldFileAsItWas) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&)> make;
    };
    const Case cases[] = {
        {"nothing yet", [](const TempDir&) {}},
        {"regular file", [](const TempDir& d) { d.Write("a.ser", OLD_BYTES); }},
        {"symbolic link", [](const TempDir& d) { fs::create_symlink("precious", d / "a.ser"); }},
        {"hard link", [](const TempDir& d) { fs::create_hard_link(d / "precious", d / "a.ser"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir / "a.ser");
        dir.Write("precious", OLD_BYTES);
        c.make(dir);
        const bool existed = fs::exists(dir / "a.ser");
        {
            const FileSizeLimit limit(8);
            EXPECT_FALSE(Replace("a.ser"));
        }
        EXPECT_EQ(ReadFile(dir / "precious"), OLD_BYTES);
        EXPECT_EQ(fs::exists(dir / "a.ser"), existed);
        if (existed) {
            EXPECT_EQ(ReadFile(dir / "a.ser"), OLD_BYTES);
        }
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

TEST(OpenForReading, OnlyRegularFilesAndNeverBlocks) {
    TempDir dir;
    const std::string text = "twelve bytes";
    const auto path = dir.Write("a.txt", text);
    RealFileSystem files;
    auto input = files.OpenForReading(path);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->Size(), text.size());
    std::string buffer(64, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
    EXPECT_EQ(input->Read(bytes, 5), 5) << "stops when the buffer is full";
    EXPECT_EQ(input->Read(bytes + 5, 59), static_cast<std::int64_t>(text.size() - 5));
    EXPECT_EQ(buffer.substr(0, text.size()), text);
    EXPECT_EQ(files.OpenForReading(path)->Identity(), input->Identity());
    EXPECT_NE(files.OpenForReading(dir.Write("b.txt", text))->Identity(), input->Identity());

    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    dir.MakeDir("folder");
    for (const std::string name : {"missing", "fifo", "folder"}) {
        EXPECT_EQ(files.OpenForReading(dir / name), nullptr) << name;
    }
    EXPECT_EQ(files.OpenForReading("/dev/null"), nullptr);
}

}  // namespace
}  // namespace velmora::platform
