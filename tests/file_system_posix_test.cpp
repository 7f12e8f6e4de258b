// Replacing and reading files where POSIX systems differ: symbolic and
// hard links, permission bits, FIFOs, devices, and a write that fails
// half-way.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/file_system_fixture.h"
#include "tests/support/failing_replace_calls.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// While it lives, files cannot grow beyond `bytes`: a write past that fails
// (with SIGXFSZ ignored), as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }

  private:
    rlimit saved{};
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

// Gives `folder` a default ACL, so that files made in it get rw-rw----
// whatever the umask says; false where the file system has no ACLs.
bool GiveDefaultAcl(const std::string& folder) {
    struct Entry {
        std::uint16_t tag, permissions;
        std::uint32_t id;
    };
    constexpr std::uint32_t anyone = 0xFFFFFFFF;
    const struct {
        std::uint32_t version = 2;
        Entry entries[3] = {{0x01, 6, anyone}, {0x04, 6, anyone}, {0x20, 0, anyone}};
    } acl;  // owner rw, group rw, others nothing
    return setxattr(folder.c_str(), "system.posix_acl_default", &acl, sizeof acl, 0) == 0;
}

// A replaced file keeps its mode, whatever a new file in its folder gets: the
// mode of the temporary file itself is compared, not the umask's guess (a
// folder's default ACL decides a new file's mode there).
TEST_F(ReplaceWholeTest, PermissionBitsOfAReplacedFileAreKept) {
    const auto mask = umask(022);
    const fs::perms byUmask = fs::perms::owner_read | fs::perms::owner_write |
                              fs::perms::group_read | fs::perms::others_read;
    dir.MakeDir("acl");
    if (!GiveDefaultAcl(dir / "acl")) {
        ADD_FAILURE() << "no ACLs on this file system: the ACL cases are left out";
    }
    const fs::perms byAcl = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::group_write;
    struct Case {
        std::string folder;
        fs::perms newFile;  // what a new file gets there
    };
    for (const Case& c : {Case{"", byUmask}, Case{"acl/", byAcl}}) {
        SCOPED_TRACE(c.folder.empty() ? "umask" : "default ACL");
        EXPECT_TRUE(Replace(c.folder + "fresh.ser"));
        EXPECT_EQ(fs::status(dir / (c.folder + "fresh.ser")).permissions(), c.newFile);
        for (const auto mode : {fs::perms::owner_read | fs::perms::owner_write,
                                fs::perms::owner_all | fs::perms::group_read, byUmask, byAcl}) {
            dir.Write(c.folder + "kept.ser", OLD_BYTES);
            fs::permissions(dir / (c.folder + "kept.ser"), mode);
            EXPECT_TRUE(Replace(c.folder + "kept.ser"));
            EXPECT_EQ(fs::status(dir / (c.folder + "kept.ser")).permissions(), mode);
        }
    }
    umask(mask);
}

// A file system that cannot change modes (FAT and exFAT drivers answer
// ENOSYS or EPERM) gives every file the same one: the refusal is accepted
// when it changed nothing. Any other failure to keep the mode fails.
TEST(ReplaceWhole, AModeThatCannotBeSetIsAcceptedOnlyWhereTheSystemHasNone) {
    TempDir dir;
    const auto mask = umask(022);
    const std::string inputPath = dir.Write("a.txt", "the input");
    const auto* data = reinterpret_cast<const unsigned char*>(NEW_BYTES.data());
    struct Case {
        std::error_code error;
        platform::ReplaceResult result;
        std::string content;
    };
    std::vector<Case> cases = {
        {Errc(std::errc::permission_denied), platform::ReplaceResult::CannotWrite, OLD_BYTES},
        {Errc(std::errc::read_only_file_system), platform::ReplaceResult::CannotWrite, OLD_BYTES},
    };
    for (const std::errc notOffered :
         {std::errc::function_not_supported, std::errc::operation_not_permitted,
          std::errc::operation_not_supported, std::errc::invalid_argument, std::errc::io_error}) {
        cases.push_back({Errc(notOffered), platform::ReplaceResult::Replaced, NEW_BYTES});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error.message());
        dir.Write("kept.ser", OLD_BYTES);
        fs::permissions(dir / "kept.ser", fs::perms::owner_read | fs::perms::owner_write);
        ReplaceScript script;
        script.failures["SetMode"] = c.error;
        platform::RealFileSystem files(FailingReplaceCalls(script));
        const auto input = files.OpenForReading(inputPath);
        EXPECT_EQ(files.ReplaceWhole(dir / "kept.ser", data, NEW_BYTES.size(), *input, true),
                  c.result);
        EXPECT_EQ(ReadFile(dir / "kept.ser"), c.content);
    }
    umask(mask);
}

// Runs `work` in a child process as the user nobody (a root test process
// gives up root first) and returns its exit status; 10 when it could not.
int AsNobody(const std::function<int()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(10);
        }
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// The owner and group of a replaced file stay where the process may set
// them (root may; others keep their own, refused quietly).
TEST_F(ReplaceWholeTest, OwnerAndGroupOfAReplacedFileAreKeptWherePossible) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    dir.Write("theirs.ser", OLD_BYTES);
    ASSERT_EQ(chown((dir / "theirs.ser").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(Replace("theirs.ser"));
    struct stat info;
    ASSERT_EQ(stat((dir / "theirs.ser").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(ReadFile(dir / "theirs.ser"), NEW_BYTES);

    // Where the owner cannot be set (a file system that has none, or a
    // process that may not), the file is replaced all the same.
    dir.Write("theirs.ser", OLD_BYTES);
    ASSERT_EQ(chown((dir / "theirs.ser").c_str(), 65534, 65534), 0);
    ReplaceScript script;
    script.failures["SetOwner"] = Errc(std::errc::operation_not_permitted);
    platform::RealFileSystem refusing(FailingReplaceCalls(script));
    const auto* data = reinterpret_cast<const unsigned char*>(NEW_BYTES.data());
    EXPECT_EQ(refusing.ReplaceWhole(dir / "theirs.ser", data, NEW_BYTES.size(), *input, true),
              platform::ReplaceResult::Replaced);
    EXPECT_EQ(ReadFile(dir / "theirs.ser"), NEW_BYTES);
}

// Where a new file may not take the place of a .ser the user may write (a
// folder the user may not add to; a sticky folder where the .ser is someone
// else's), the .ser is written in place: the same file, new content, the
// owner and mode as they were.
TEST_F(ReplaceWholeTest, WhereNoNewFileMayTakeItsPlaceAWritableFileIsWrittenInPlace) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs a second user to set the folders up";
    }
    fs::permissions(dir.Path(), fs::perms::all);
    struct Case {
        const char* what;
        const char* folder;
        fs::perms folderMode;
        uid_t serOwner;
    };
    const Case cases[] = {
        {"folder closed to new files", "closed",
         fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
             fs::perms::others_read | fs::perms::others_exec,
         65534},
        {"sticky folder, the .ser is root's", "sticky", fs::perms::all | fs::perms::sticky_bit, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string ser = std::string(c.folder) + "/a.ser";
        dir.Write(ser, std::string(100, 'o'));
        ASSERT_EQ(chown((dir / ser).c_str(), c.serOwner, c.serOwner), 0);
        fs::permissions(dir / ser, fs::perms::all & ~fs::perms::owner_exec &
                                       ~fs::perms::group_exec & ~fs::perms::others_exec);
        fs::permissions(dir / c.folder, c.folderMode);
        struct stat before, after;
        ASSERT_EQ(stat((dir / ser).c_str(), &before), 0);
        EXPECT_EQ(
            AsNobody([&] { return ReplaceFor(ser) == platform::ReplaceResult::Replaced ? 0 : 1; }),
            0);
        ASSERT_EQ(stat((dir / ser).c_str(), &after), 0);
        EXPECT_EQ(ReadFile(dir / ser), NEW_BYTES);
        EXPECT_EQ(after.st_ino, before.st_ino) << "the same file";
        EXPECT_EQ(after.st_uid, c.serOwner);
        EXPECT_EQ(after.st_mode, before.st_mode);
        for (const auto& entry : fs::directory_iterator(dir / c.folder)) {
            EXPECT_FALSE(IsTemporaryFileName(entry.path().filename().string()));
        }
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
    EXPECT_EQ(AsNobody([&] {
                  return (Replace("read-only.ser") ? 1 : 0) | (Replace("writable.ser") ? 0 : 2);
              }),
              0)
        << "1: the read-only file was replaced; 2: the writable one was not; 10: could not give "
           "up root";
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
