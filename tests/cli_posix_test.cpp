// velmora-cli end to end where POSIX systems differ: key bytes in UTF-8,
// links, FIFOs, devices and /proc in a batch, file-size limits and signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/encrypt.h"
#include "tests/cli_fixture.h"
#include "tests/support/child_process.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// The key is its UTF-8 bytes: "é" counts two.
TEST_F(CliTest, KeyLengthIsCountedInUtf8Bytes) {
    dir.Write("a.txt", "secret notes\n");
    EXPECT_EQ(Run({"éééééééééééééééé", "a.txt"}).out, "Length of encrypt key must be 16!");
    EXPECT_EQ(Run({"0123456789abcdeé", "a.txt"}).out, "Length of encrypt key must be 16!");
    EXPECT_EQ(Run({"ééééééé16", "a.txt"}).out, "encptry a.txt successful!\n");
    EXPECT_EQ(DecryptSerFile(dir / "a.ser", "ééééééé16"), "secret notes\n   ");
}

TEST_F(CliTest, UsageNamesTheProgramAsInvoked) {
    fs::create_symlink(CLI, dir / "other-name");
    EXPECT_EQ(RunProcess({dir / "other-name"}, "/").out, Usage(dir / "other-name"));
}

TEST_F(CliTest, FolderModeGoesOnPastLinksFifosDevicesAndProcFiles) {
    dir.Write("batch/linked.txt", "kept");
    fs::create_symlink("linked.txt", dir / "batch/linked.ser");
    ASSERT_EQ(mkfifo((dir / "batch/pipe.txt").c_str(), 0600), 0);
    dir.Write("batch/full.txt", "no room");
    fs::create_symlink("/dev/full", dir / "batch/full.ser");
    // Reports a size of 0 but yields text: not read whole.
    fs::create_symlink("/proc/self/status", dir / "batch/proc.txt");

    const std::string out = Run({KEY, "batch"}).out;
    EXPECT_EQ(Lines(out), (std::multiset<std::string>{
                              "Write file batch/linked.ser error!",
                              "WriteFile batch/linked.txt error!",
                              "Open file batch/pipe.txt error!",
                              "OpenFile batch/pipe.txt error!",
                              "Write file batch/full.ser error!",
                              "WriteFile batch/full.txt error!",
                              "Read file batch/proc.txt error!",
                              "ReadFile batch/proc.txt error!",
                          }));
    EXPECT_NE(out.find("Open file batch/pipe.txt error!\nOpenFile batch/pipe.txt error!\n"),
              std::string::npos);
    EXPECT_NE(out.find("Read file batch/proc.txt error!\nReadFile batch/proc.txt error!\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(dir / "batch/linked.txt"), "kept");
    EXPECT_TRUE(fs::is_symlink(dir / "batch/full.ser"));
}

// A file-size limit (ulimit -f) makes the write fail: reported, the old
// output kept, and the program goes on instead of being killed by SIGXFSZ.
TEST_F(CliTest, FileSizeLimitIsAWriteFailure) {
    dir.WriteSized("big.txt", 4000);
    dir.Write("big.ser", "old output");
    dir.WriteSized("batch/one.txt", 4000);
    dir.WriteSized("batch/two.txt", 4000);
    struct Case {
        std::string target;
        std::multiset<std::string> lines;
    };
    const Case cases[] = {
        {"big.txt", {"Write file big.ser error!", "Encrypt file big.txt error!"}},
        {"batch",
         {"Write file batch/one.ser error!", "WriteFile batch/one.txt error!",
          "Write file batch/two.ser error!", "WriteFile batch/two.txt error!"}},
    };
    for (const Case& c : cases) {
        // 1 block of 512 bytes at most per file.
        const ProcessResult result =
            RunProcess({"/bin/sh", "-c", "ulimit -f 1; exec \"$0\" \"$@\"", CLI, KEY, c.target},
                       ToUtf8(dir.Path()));
        EXPECT_EQ(result.exitStatus, 0) << "not killed by SIGXFSZ";
        EXPECT_EQ(Lines(result.out), c.lines);
    }
    EXPECT_EQ(ReadFile(dir / "big.ser"), "old output");
    EXPECT_FALSE(fs::exists(dir / "batch/one.ser"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "batch"), fs::directory_iterator()), 2);
}

// A reader that goes away (`velmora-cli KEY folder | head -1`) does not cut
// the batch short: the report's lines are lost, the files are all encrypted
// and the program ends as usual. Here the reader is gone before the first
// line.
TEST_F(CliTest, AReaderThatGoesAwayDoesNotStopTheBatch) {
    constexpr int FILE_COUNT = 20;
    for (int i = 0; i < FILE_COUNT; ++i) {
        dir.WriteSized("many/f" + std::to_string(i) + ".txt", 100 + i);
    }
    int reportPipe[2];
    ASSERT_EQ(pipe(reportPipe), 0);
    close(reportPipe[0]);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGPIPE, SIG_DFL);
        if (dup2(reportPipe[1], STDOUT_FILENO) < 0 || chdir(dir.Path().c_str()) != 0) {
            _exit(126);
        }
        execl(CLI.c_str(), CLI.c_str(), KEY.c_str(), "many", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(reportPipe[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    for (int i = 0; i < FILE_COUNT; ++i) {
        const std::string name = "many/f" + std::to_string(i);
        EXPECT_EQ(DecryptSerFile(dir / (name + ".ser"), KEY),
                  Padded(ReadFile(dir / (name + ".txt"))))
            << name;
    }
}

// A folder whose new names cannot be flushed at the end is named on standard
// error; standard output and the exit status stay as they are. A folder the
// user may write to but not read cannot be opened to be flushed.
TEST_F(CliTest, AFolderThatCannotBeFlushedIsNamedOnStandardError) {
    dir.Write("write-only/a.txt", "text");
    fs::permissions(dir.Path() / "write-only", fs::perms::owner_write | fs::perms::owner_exec);
    std::vector<std::string> command = {CLI, KEY, "write-only/a.txt"};
    if (geteuid() == 0) {  // root may read any folder: run a copy as nobody
        ASSERT_EQ(chown((dir / "write-only").c_str(), 65534, 65534), 0);
        fs::permissions(dir.Path(), fs::perms::all);
        fs::copy_file(CLI, dir.Path() / "velmora-cli");
        command = {"/usr/bin/setpriv", "--reuid=65534",     "--regid=65534",
                   "--clear-groups",   dir / "velmora-cli", KEY,
                   "write-only/a.txt"};
    }
    const ProcessResult result = RunProcess(command, ToUtf8(dir.Path()));
    fs::permissions(dir.Path() / "write-only", fs::perms::owner_all);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "encptry write-only/a.txt successful!\n");
    EXPECT_EQ(result.err, "Flush folder write-only/ error: Permission denied\n");
    EXPECT_EQ(DecryptSerFile(dir / "write-only/a.ser", KEY), Padded("text"));
}

// The plaintext buffer lives on the heap: a 64 KiB stack is enough for the
// largest input.
TEST_F(CliTest, ASmallStackIsEnough) {
    dir.WriteSized("largest.txt", 90111);
    const ProcessResult result =
        RunProcess({"/bin/sh", "-c", "ulimit -s 64; exec \"$0\" \"$@\"", CLI, KEY, "largest.txt"},
                   ToUtf8(dir.Path()));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "encptry largest.txt successful!\n");
}

// A batch cut short by a signal leaves only whole outputs: every .ser on
// disk is the complete encryption of its input, every reported success has
// its .ser (each line was out before the next file), and at most the
// temporary file in progress remains after SIGKILL, none after SIGTERM.
TEST_F(CliTest, InterruptedBatchLeavesOnlyWholeOutputs) {
    constexpr int FILE_COUNT = 2000;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(signalNumber));
        fs::remove_all(dir / "many");
        for (int i = 0; i < FILE_COUNT; ++i) {
            dir.WriteSized("many/f" + std::to_string(i) + ".txt", 100 + i % 300);
        }
        ChildProcess cli({CLI, KEY, "many"}, ToUtf8(dir.Path()));
        std::set<std::string> reported;
        for (std::string line; reported.size() < 100 && cli.ReadLine(line);) {
            ASSERT_EQ(line.rfind("encptry many/", 0), 0u) << line;
            reported.insert(line.substr(8, line.size() - 8 - 12));  // the input path
        }
        cli.Signal(signalNumber);
        const int status = cli.Wait();
        ASSERT_TRUE(WIFSIGNALED(status)) << "ended as the signal would";
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        std::string line;
        for (std::istringstream rest(cli.Output()); std::getline(rest, line);) {
            if (line.rfind("encptry many/", 0) == 0) {
                reported.insert(line.substr(8, line.size() - 8 - 12));
            }
        }

        size_t outputs = 0, temporaries = 0;
        for (const auto& entry : fs::directory_iterator(dir / "many")) {
            const std::string name = entry.path().filename().string();
            if (IsTemporaryFileName(name)) {
                ++temporaries;
                continue;
            }
            if (entry.path().extension() != ".ser") {
                continue;
            }
            ++outputs;
            std::string plain = ReadFile((dir / "many" / entry.path().stem()).string() + ".txt");
            const unsigned length = static_cast<unsigned>(plain.size());
            plain.resize(length + BLOCK_BYTES);
            CipherBuffer cipher;
            unsigned cipherLength = 0;
            EncryptBuffer(reinterpret_cast<const unsigned char*>(KEY.data()),
                          reinterpret_cast<unsigned char*>(plain.data()), length, cipher,
                          cipherLength);
            ASSERT_EQ(ReadFile(entry.path().string()),
                      std::string(reinterpret_cast<const char*>(cipher.get()), cipherLength))
                << name << " is not whole";
        }
        for (const std::string& path : reported) {
            EXPECT_TRUE(fs::exists(dir / (SerPathFor(path)))) << path;
        }
        EXPECT_LT(outputs, static_cast<size_t>(FILE_COUNT)) << "the signal came too late to test";
        EXPECT_LE(outputs, reported.size() + 1) << "reports were held back";
        EXPECT_LE(temporaries, signalNumber == SIGKILL ? 1u : 0u);
    }
}

}  // namespace
}  // namespace velmora::testing
