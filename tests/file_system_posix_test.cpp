// Replacing and reading files where POSIX systems differ: symbolic and
// hard links, permission bits, FIFOs, devices, and a write that fails
// half-way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/file_system_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

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

TEST_F(ReplaceWholeTest, ADanglingLinkIsAnExistingName) {
    fs::create_symlink("nowhere", dir / "dangling");
    EXPECT_FALSE(Replace("dangling", false));
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
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

// A file its owner made read-only is not replaced, though the folder would
// allow the rename; a writable one beside it is. Run as an ordinary user
// (root may write anything): a child process gives up root when it has it.
TEST_F(ReplaceWholeTest, AReadOnlyFileIsNotReplaced) {
    dir.Write("read-only.ser", OLD_BYTES);
    dir.Write("writable.ser", OLD_BYTES);
    fs::permissions(dir / "read-only.ser",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir / "writable.ser", fs::perms::all);
    fs::permissions(dir.Path(), fs::perms::all);
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(10);
        }
        _exit((Replace("read-only.ser") ? 1 : 0) | (Replace("writable.ser") ? 0 : 2));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the read-only file was replaced; 2: the writable one "
                                         "was not; 10: could not give up root";
    EXPECT_EQ(ReadFile(dir / "read-only.ser"), OLD_BYTES);
    EXPECT_EQ(ReadFile(dir / "writable.ser"), NEW_BYTES);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST(OpenForReading, SameFileSameIdentityAndNoFifosOrDevices) {
    TempDir dir;
    const auto path = dir.Write("a.txt", "text");
    platform::RealFileSystem files;
    const auto input = files.OpenForReading(path);
    ASSERT_NE(input, nullptr);
    fs::create_hard_link(path, dir / "other-name");
    EXPECT_EQ(files.OpenForReading(dir / "other-name")->Identity(), input->Identity());

    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(files.OpenForReading(dir / "fifo"), nullptr) << "must not block either";
    EXPECT_EQ(files.OpenForReading("/dev/null"), nullptr);
}

}  // namespace
}  // namespace velmora::testing
