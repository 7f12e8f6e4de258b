// End to end: the real velmora program under the X display of the test run,
// driven with xdotool as a user would drive it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::DecryptWithOpenssl;
using testing::ReadFile;
using testing::TempDir;

const std::string PROGRAM = VELMORA_PROGRAM_PATH;

// How often, and how far apart, the test looks for a window before it gives up.
constexpr int kPolls = 300;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

// Runs xdotool with `args` and returns its standard output without the
// final line break.
std::string Xdotool(const std::string& args) {
    std::string output;
    if (FILE* pipe = popen(("xdotool " + args + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') {
        output.pop_back();
    }
    return output;
}

// The program started in `workingDir`; killed if the test ends while it runs.
class RunningProgram {
  public:
    explicit RunningProgram(const std::string& workingDir) {
        pid = fork();
        if (pid == 0) {
            if (chdir(workingDir.c_str()) != 0) {
                _exit(126);
            }
            setenv("NO_AT_BRIDGE", "1", 1);
            setenv("GDK_BACKEND", "x11", 1);
            execl(PROGRAM.c_str(), PROGRAM.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~RunningProgram() {
        if (pid > 0 && !exited) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // A visible window of this process, none of `except`, whose title is
    // exactly `title`; "" when none appears while the process runs.
    std::string WaitForWindow(const std::string& title, const std::set<std::string>& except = {}) {
        for (int i = 0; i < kPolls && !HasExited(); ++i) {
            // xdotool matches names without regard to case: compare exactly here.
            std::istringstream ids(Xdotool("search --onlyvisible --pid " + std::to_string(pid) +
                                           " --name '^" + title + "$'"));
            for (std::string id; std::getline(ids, id);) {
                if (except.count(id) == 0 && Xdotool("getwindowname " + id) == title) {
                    return id;
                }
            }
            std::this_thread::sleep_for(kPollInterval);
        }
        return "";
    }

    // Waits for the process to end; its exit status, or -1 when it did not
    // end normally or did not end at all.
    int WaitForExit() {
        for (int i = 0; i < kPolls && !HasExited(); ++i) {
            std::this_thread::sleep_for(kPollInterval);
        }
        return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pid_t pid = -1;

  private:
    bool HasExited() {
        if (!exited && waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
        }
        return exited;
    }

    bool exited = false;
    int status = 0;
};

void Focus(const std::string& window) {
    Xdotool("windowfocus --sync " + window);
}
void Keys(const std::string& keys) {
    Xdotool("key --delay 50 " + keys);
}

// Select the file in the current directory's tree with the keyboard, type a
// key (the field takes its first 16 characters only), press Enter; one
// message box reports the file. F1 brings up another box (the help), and
// Escape then ends the program with 0.
TEST(VelmoraProgramTest, EncryptsTheSelectedFileShowsHelpAndEndsOnEscape) {
    ASSERT_FALSE(getenv("DISPLAY") == nullptr) << "run under xvfb-run";
    TempDir dir;
    dir.Write("a.txt", "Secret plans.\n");
    const std::string key = "0123456789abcdef";

    RunningProgram program(dir.Path().string());
    const std::string dialog = program.WaitForWindow("Velmora");
    ASSERT_FALSE(dialog.empty()) << "the dialog did not appear";
    Focus(dialog);

    // Tab from "Encrypt" to the tree; Down to "Drives", Down to the current
    // directory, Right to expand it, Down to a.txt; Tab to the key field.
    Keys("Tab Down Down Right Down Tab");
    Xdotool("type --delay 30 " + key + "XYZ");
    Keys("Return");

    const std::string box = program.WaitForWindow("velmora", {dialog});
    ASSERT_FALSE(box.empty()) << "no message box appeared";
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", key), "Secret plans.\n" + std::string(2, ' '));
    EXPECT_EQ(ReadFile(dir / "a.txt"), "Secret plans.\n");

    Focus(box);
    Keys("Return");

    Focus(dialog);
    Keys("F1");
    const std::string help = program.WaitForWindow("velmora", {dialog, box});
    ASSERT_FALSE(help.empty()) << "F1 showed no help box";
    Focus(help);
    Keys("Return");

    Focus(dialog);
    Keys("Escape");
    EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace velmora
