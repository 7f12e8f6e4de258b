// The file routine where POSIX systems differ: FIFOs, symbolic and hard
// links, files under /proc, and renames racing with the routine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "tests/encrypt_file_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

TEST(EncryptTextFile, AFifoIsNoInputAndNeverBlocks) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(Encrypt(dir / "pipe.txt"), EncryptResult::OpenFailed);
    EXPECT_FALSE(fs::exists(dir / "pipe.ser"));
}

TEST(EncryptTextFile, OutputsLeadingAnywhereButARegularFileFailAndKeepEverything) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    ExpectUnwritable(
        dir,
        {
            {"output links to the input", "c.txt",
             [](const TempDir& d) { fs::create_symlink("c.txt", d / "c.ser"); }, "c.ser"},
            {"output is a hard link of the input", "d.txt",
             [](const TempDir& d) { fs::create_hard_link(d / "d.txt", d / "d.ser"); }, "d.ser"},
            {"output links to a device", "null.txt",
             [](const TempDir& d) { fs::create_symlink("/dev/null", d / "null.ser"); }, "null.ser"},
            {"output links to a FIFO", "piped.txt",
             [](const TempDir& d) { fs::create_symlink("fifo", d / "piped.ser"); }, "piped.ser"},
            {"output link dangles", "dangling.txt",
             [](const TempDir& d) { fs::create_symlink("nowhere", d / "dangling.ser"); },
             "dangling.ser"},
            {"output links in a loop", "loop.txt",
             [](const TempDir& d) {
                 fs::create_symlink("loop.ser", d / "loop2.ser");
                 fs::create_symlink("loop2.ser", d / "loop.ser");
             },
             "loop.ser"},
        });
    EXPECT_FALSE(fs::exists(dir / "nowhere")) << "a dangling link's target is not created";
}

TEST(EncryptTextFile, AFileWhoseSizeDoesNotMatchWhatIsReadIsAReadFailure) {
    // Files under /proc report a size of 0 but yield text when read, as a file
    // that changes between its size and the read does.
    EXPECT_EQ(Encrypt("/proc/self/status"), EncryptResult::ReadFailed);
}

// Another process keeps putting links to the input, regular files, and the
// input itself under the output name (and the input back) while the routine
// runs: the input's content is never lost, whichever of them the routine
// meets. The other process itself never destroys the input: it only swaps
// its files in, moves the input only from its own name, and removes only
// what is not the input. Each run is checked with it stopped between two of
// its rounds: some file in the folder still holds the text, which is then
// put back under the input's name if it is elsewhere.
TEST(EncryptTextFile, ARenameRaceNeverTurnsTheOutputIntoTheInput) {
    TempDir dir;
    const std::string text = "the plain text that must survive";
    const auto input = dir.Write("a.txt", text);
    const std::string output = dir / "a.ser";
    struct stat inputInfo;
    ASSERT_EQ(stat(input.c_str(), &inputInfo), 0);
    const auto isInput = [&](const std::string& path) {
        struct stat info;
        return lstat(path.c_str(), &info) == 0 && info.st_ino == inputInfo.st_ino;
    };
    // Runs `race` over and over in a child process; Pause stops it between
    // two runs of `race`, never in the middle of one.
    class Racer {
      public:
        explicit Racer(const std::function<void()>& race)
            : pause(static_cast<std::atomic<int>*>(mmap(nullptr, sizeof(std::atomic<int>),
                                                        PROT_READ | PROT_WRITE,
                                                        MAP_SHARED | MAP_ANONYMOUS, -1, 0))) {
            new (pause) std::atomic<int>(0);
            pid = fork();
            if (pid == 0) {
                for (;;) {
                    if (pause->load() != 0) {
                        raise(SIGSTOP);
                    }
                    race();
                }
            }
        }
        ~Racer() {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            munmap(pause, sizeof(std::atomic<int>));
        }
        void Pause() {
            pause->store(1);
            int status = 0;
            waitpid(pid, &status, WUNTRACED);
        }
        void Resume() {
            pause->store(0);
            kill(pid, SIGCONT);
        }

      private:
        std::atomic<int>* pause;
        pid_t pid = -1;
    };
    const std::string link = dir / ".racer-link", file = dir / ".racer-file";
    // Onto the output name, swapped with what is there (or on a free name).
    const auto putOnOutput = [&](const std::string& path) {
        if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, output.c_str(), RENAME_EXCHANGE) != 0) {
            renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, output.c_str(), RENAME_NOREPLACE);
        }
    };
    const auto tidy = [&](const std::string& path) {
        if (!isInput(path)) {
            unlink(path.c_str());
        }
    };
    Racer racer([&] {
        tidy(link);
        if (symlink("a.txt", link.c_str()) == 0) {
            putOnOutput(link);
        }
        tidy(file);
        if (const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644); fd >= 0) {
            close(fd);
            putOnOutput(file);
        }
        // The input itself: nothing else can be under either name meanwhile.
        if (isInput(input) && rename(input.c_str(), output.c_str()) == 0) {
            rename(output.c_str(), input.c_str());
        }
    });

    const auto findText = [&]() -> std::string {
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            if (fs::is_regular_file(entry.symlink_status()) &&
                ReadFile(entry.path().string()) == text) {
                return entry.path().string();
            }
        }
        return "";
    };
    for (int run = 0; run < 3000; ++run) {
        const EncryptResult result = Encrypt(input);
        ASSERT_NE(result, EncryptResult::TooLarge);
        ASSERT_NE(result, EncryptResult::ReadFailed);
        racer.Pause();
        const std::string holder = findText();
        if (!holder.empty() && holder != input) {
            rename(holder.c_str(), input.c_str());
        }
        racer.Resume();
        ASSERT_NE(holder, "") << "the input was lost in run " << run;
    }
}

}  // namespace
}  // namespace velmora::testing
