// velmora-cli's output on POSIX systems: a file or a pipe gets the exact
// bytes of every name; a terminal (a pseudo-terminal here) gets a name's
// control characters escaped, so that a name never drives the terminal,
// while the program's own words keep their line breaks and tabs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli_fixture.h"

namespace velmora::testing {

const std::string LINE_END = "\n";

namespace {

namespace fs = std::filesystem;

// Runs `argv` in `workingDir` with standard output and standard error on a
// pseudo-terminal in raw mode (so that the terminal adds nothing to what
// the program writes) and returns what it wrote; the exit status in
// `status`.
std::string RunOnTerminal(const std::vector<std::string>& argv, const std::string& workingDir,
                          int& status) {
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        termios raw{};
        tcgetattr(STDOUT_FILENO, &raw);
        cfmakeraw(&raw);
        tcsetattr(STDOUT_FILENO, TCSANOW, &raw);
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        if (chdir(workingDir.c_str()) == 0) {
            execv(args[0], args.data());
        }
        _exit(127);
    }
    std::string output;
    if (pid < 0) {
        status = -1;
        return output;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, static_cast<size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // EIO once the program has ended and closed the terminal
        }
    }
    close(master);
    waitpid(pid, &status, 0);
    return output;
}

// Names that would drive a terminal, each with how a terminal must show it.
struct NameCase {
    std::string name;
    std::string shown;
};

const NameCase NAME_CASES[] = {
    {"line\nbreak.txt", "line\\nbreak.txt"},
    {"\x1b[2J\x1b[31mred.txt", "\\033[2J\\033[31mred.txt"},
    {"tab\tand\rreturn.txt", "tab\\tand\\rreturn.txt"},
    {"bell\a\x7f.txt", "bell\\a\\177.txt"},
    {"c1-csi\xc2\x9b"
     "31m.txt",
     "c1-csi\\302\\23331m.txt"},
    {"not-utf8-\x9b\xe9.txt", "not-utf8-\\233\\351.txt"},
    {"overlong-\xc0\xaf.txt", "overlong-\\300\\257.txt"},
    {"surrogate-\xed\xa0\x80.txt", "surrogate-\\355\\240\\200.txt"},
    {"cut-\xe2\x82"
     ".txt",
     "cut-\\342\\202.txt"},
    {"back\\slash.txt", "back\\\\slash.txt"},
    {"caf\xc3\xa9 \xe2\x82\xac.txt", "caf\xc3\xa9 \xe2\x82\xac.txt"},  // letters stay
};

class CliConsoleTest : public CliTest {
  protected:
    void SetUp() override {
        for (const NameCase& c : NAME_CASES) {
            dir.Write("batch/" + c.name, "text");
        }
    }
};

TEST_F(CliConsoleTest, TerminalShowsControlCharactersOfNamesEscaped) {
    int status = -1;
    const std::string out = RunOnTerminal({CLI, KEY, "batch"}, ToUtf8(dir.Path()), status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::multiset<std::string> expected;
    for (const NameCase& c : NAME_CASES) {
        expected.insert("encptry batch/" + c.shown + " successful!");
    }
    EXPECT_EQ(Lines(out), expected) << out;
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << "no escape character reaches the terminal";
}

// The program's own words keep their line breaks and tabs; only the name
// in them (here the program's, as invoked) is escaped.
TEST_F(CliConsoleTest, TerminalShowsTheWordsAsTheyAre) {
    const std::string link = ToUtf8(dir.Path() / "velmora\x1b[2J");
    fs::create_symlink(CLI, link);
    int status = -1;
    const std::string out = RunOnTerminal({link}, "/", status);
    std::string usage = Usage(ToUtf8(dir.Path() / "velmora\\033[2J"));
    EXPECT_EQ(out, usage);

    EXPECT_EQ(RunOnTerminal({CLI, KEY, "missing.txt"}, ToUtf8(dir.Path()), status),
              "Open file missing.txt error!\nEncrypt file missing.txt error!");
}

// Scripts read the names as they are on disk, byte for byte.
TEST_F(CliConsoleTest, FilesAndPipesGetTheExactBytesOfNames) {
    std::vector<std::string> messages;
    size_t total = 0;
    for (const NameCase& c : NAME_CASES) {
        messages.push_back("encptry batch/" + c.name + " successful!\n");
        total += messages.back().size();
    }
    const std::string toPipe = Run({KEY, "batch"}).out;
    const ProcessResult toFile = RunProcess(
        {"/bin/sh", "-c", "exec \"$0\" \"$@\" >out.log", CLI, KEY, "batch"}, ToUtf8(dir.Path()));
    EXPECT_EQ(toFile.exitStatus, 0);
    for (const auto& [where, out] :
         {std::pair{"pipe", toPipe}, std::pair{"file", ReadFile(dir / "out.log")}}) {
        SCOPED_TRACE(where);
        EXPECT_EQ(out.size(), total) << out;
        for (const std::string& message : messages) {
            EXPECT_NE(out.find(message), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace velmora::testing
