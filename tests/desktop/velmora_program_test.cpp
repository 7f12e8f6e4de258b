// End to end: the real velmora program under the X display of the test run,
// driven with xdotool as a user would drive it. What its message boxes say
// is read back as a screen reader would read it: through the accessibility
// bus (AT-SPI over D-Bus), with gdbus, on a session bus of the test's own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "desktop/help_text.h"
#include "tests/support/child_process.h"
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
constexpr int POLLS = 300;
constexpr auto POLL_INTERVAL = std::chrono::milliseconds(100);
// How often it reads the message boxes through the accessibility bus (one
// look takes some twenty gdbus calls).
constexpr int ACCESSIBILITY_POLLS = 30;

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

// The full path of a program found on PATH; "" when there is none.
std::string FindOnPath(const std::string& name) {
    std::istringstream path(getenv("PATH") != nullptr ? getenv("PATH") : "/usr/bin:/bin");
    for (std::string folder; std::getline(path, folder, ':');) {
        const std::string candidate = folder + "/" + name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

// The string literals of a GVariant in gdbus's text form, in order, with
// their escapes undone: "([(':1.0', objectpath '/a/1')],)" gives ":1.0" and
// "/a/1". The texts read here are ASCII: only the escapes of ASCII
// characters are known.
std::vector<std::string> StringLiterals(const std::string& text) {
    std::vector<std::string> literals;
    for (size_t i = 0; i < text.size(); ++i) {
        const char quote = text[i];
        if (quote != '\'' && quote != '"') {
            continue;
        }
        std::string literal;
        for (++i; i < text.size() && text[i] != quote; ++i) {
            if (text[i] == '\\' && i + 1 < text.size()) {
                const char escaped = text[++i];
                literal += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
            } else {
                literal += text[i];
            }
        }
        literals.push_back(literal);
    }
    return literals;
}

// A D-Bus session bus of the test's own (a dbus-daemon), ended with it. The
// accessibility bus is started on it on demand (org.a11y.Bus), with its
// socket in `runtimeDir`, so that no other run's can get in the way.
class SessionBus {
  public:
    SessionBus(const std::string& daemonProgram, const std::string& runtimeDir)
        : daemon({daemonProgram, "--session", "--nofork", "--print-address=1"}, "/",
                 {"XDG_RUNTIME_DIR=" + runtimeDir}) {
        // The daemon prints its address as one line once it listens.
        daemon.ReadLine(address);
    }

    std::string address;

  private:
    testing::ChildProcess daemon;
};

// Reads the applications on the accessibility bus of a session bus with
// gdbus, one call at a time.
class AccessibilityReader {
  public:
    explicit AccessibilityReader(const std::string& sessionBus)
        : gdbus(FindOnPath("gdbus")), sessionBus(sessionBus) {}

    // The texts of the labels of every alert (message box) on the bus, one
    // list per alert, empty labels left out.
    std::vector<std::vector<std::string>> AlertTexts() {
        std::vector<std::vector<std::string>> alerts;
        for (const auto& [app, appPath] : Applications()) {
            const auto windows = Call(app, appPath, "org.a11y.atspi.Accessible.GetChildren");
            for (size_t w = 0; w + 1 < windows.size(); w += 2) {
                if (Role(windows[w], windows[w + 1]) != "alert") {
                    continue;
                }
                std::vector<std::string> labels;
                Walk(
                    windows[w], windows[w + 1], 0,
                    [&](const std::string& dest, const std::string& path, const std::string& role) {
                        if (role == "label") {
                            if (std::string name = Name(dest, path); !name.empty()) {
                                labels.push_back(std::move(name));
                            }
                        }
                        return false;
                    });
                alerts.push_back(labels);
            }
        }
        return alerts;
    }

    // Whether a control with `role` and `name` has the keyboard focus: it is
    // the focus of its window, and its window the focus of the display.
    bool HasFocus(const std::string& role, const std::string& name) {
        for (const auto& [app, appPath] : Applications()) {
            const bool found =
                Walk(app, appPath, 0,
                     [&](const std::string& dest, const std::string& path, const std::string& own) {
                         return own == role && (StateBits(dest, path) & FOCUSED_BIT) != 0 &&
                                Name(dest, path) == name;
                     });
            if (found) {
                return true;
            }
        }
        return false;
    }

  private:
    static constexpr const char* ROOT_PATH = "/org/a11y/atspi/accessible/root";
    static constexpr int MAX_DEPTH = 12;
    // ATSPI_STATE_FOCUSED, a bit of the first word of GetState's reply.
    static constexpr unsigned long FOCUSED_BIT = 1UL << 12;

    // Asks the session bus for the accessibility bus; false until it is there.
    bool Connect() {
        if (a11yBus.empty() && !gdbus.empty()) {
            const auto reply = StringLiterals(
                testing::RunProcess(
                    {gdbus, "call", "--address", sessionBus, "--dest", "org.a11y.Bus",
                     "--object-path", "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"},
                    "/")
                    .out);
            if (!reply.empty()) {
                a11yBus = reply.front();
            }
        }
        return !a11yBus.empty();
    }

    // The applications on the accessibility bus, as (bus name, object path).
    std::vector<std::pair<std::string, std::string>> Applications() {
        std::vector<std::pair<std::string, std::string>> apps;
        if (!Connect()) {
            return apps;
        }
        const auto found =
            Call("org.a11y.atspi.Registry", ROOT_PATH, "org.a11y.atspi.Accessible.GetChildren");
        for (size_t a = 0; a + 1 < found.size(); a += 2) {
            apps.emplace_back(found[a], found[a + 1]);
        }
        return apps;
    }

    // gdbus's reply to one call, in its text form.
    std::string Reply(const std::string& dest, const std::string& path, const std::string& method,
                      const std::vector<std::string>& args = {}) {
        std::vector<std::string> argv = {gdbus, "call",          "--address", a11yBus,    "--dest",
                                         dest,  "--object-path", path,        "--method", method};
        argv.insert(argv.end(), args.begin(), args.end());
        return testing::RunProcess(argv, "/").out;
    }

    std::vector<std::string> Call(const std::string& dest, const std::string& path,
                                  const std::string& method,
                                  const std::vector<std::string>& args = {}) {
        return StringLiterals(Reply(dest, path, method, args));
    }

    std::string Role(const std::string& dest, const std::string& path) {
        const auto role = Call(dest, path, "org.a11y.atspi.Accessible.GetRoleName");
        return role.empty() ? "" : role.front();
    }

    std::string Name(const std::string& dest, const std::string& path) {
        const auto name = Call(dest, path, "org.freedesktop.DBus.Properties.Get",
                               {"org.a11y.atspi.Accessible", "Name"});
        return name.empty() ? "" : name.front();
    }

    // The first word of the state set of an accessible; 0 when unreadable.
    // gdbus prints it as "([uint32 1124079872, 0],)".
    unsigned long StateBits(const std::string& dest, const std::string& path) {
        const std::string reply = Reply(dest, path, "org.a11y.atspi.Accessible.GetState");
        const std::string prefix = "uint32 ";
        const size_t at = reply.find(prefix);
        return at == std::string::npos
                   ? 0
                   : std::strtoul(reply.c_str() + at + prefix.size(), nullptr, 10);
    }

    // Hands `visit` the accessible at `path` and each one below it, depth
    // first, with its role, until `visit` returns true; whether it did.
    // Trees are not entered: their rows are many and never looked for.
    template <typename Visit>
    bool Walk(const std::string& dest, const std::string& path, int depth, const Visit& visit) {
        const std::string role = Role(dest, path);
        if (visit(dest, path, role)) {
            return true;
        }
        if (depth >= MAX_DEPTH || role.find("tree") != std::string::npos) {
            return false;
        }
        const auto children = Call(dest, path, "org.a11y.atspi.Accessible.GetChildren");
        for (size_t i = 0; i + 1 < children.size(); i += 2) {
            if (Walk(children[i], children[i + 1], depth + 1, visit)) {
                return true;
            }
        }
        return false;
    }

    std::string gdbus;
    std::string sessionBus;
    std::string a11yBus;
};

// Waits until a message box shows exactly `text` as its only text; what the
// boxes showed at the last look, for the failure message, in `seen`.
bool WaitForAlertText(AccessibilityReader& reader, const std::string& text, std::string& seen) {
    for (int i = 0; i < ACCESSIBILITY_POLLS; ++i) {
        seen.clear();
        for (const auto& labels : reader.AlertTexts()) {
            if (labels == std::vector<std::string>{text}) {
                return true;
            }
            seen += "[";
            for (const auto& label : labels) {
                seen += "\"" + label + "\" ";
            }
            seen += "] ";
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    return false;
}

// Waits until the control with `role` and `name` has the keyboard focus.
bool WaitForFocus(AccessibilityReader& reader, const std::string& role, const std::string& name) {
    for (int i = 0; i < ACCESSIBILITY_POLLS; ++i) {
        if (reader.HasFocus(role, name)) {
            return true;
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    return false;
}

// The program started in `workingDir` on the session bus `sessionBus`, with
// its accessibility bridge on; killed if the test ends while it runs.
class RunningProgram {
  public:
    RunningProgram(const std::string& workingDir, const std::string& sessionBus) {
        pid = fork();
        if (pid == 0) {
            if (chdir(workingDir.c_str()) != 0) {
                _exit(126);
            }
            unsetenv("NO_AT_BRIDGE");
            setenv("DBUS_SESSION_BUS_ADDRESS", sessionBus.c_str(), 1);
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
        for (int i = 0; i < POLLS && !HasExited(); ++i) {
            // xdotool matches names without regard to case: compare exactly here.
            std::istringstream ids(Xdotool("search --onlyvisible --pid " + std::to_string(pid) +
                                           " --name '^" + title + "$'"));
            for (std::string id; std::getline(ids, id);) {
                if (except.count(id) == 0 && Xdotool("getwindowname " + id) == title) {
                    return id;
                }
            }
            std::this_thread::sleep_for(POLL_INTERVAL);
        }
        return "";
    }

    // Waits for the process to end; its exit status, or -1 when it did not
    // end normally or did not end at all.
    int WaitForExit() {
        for (int i = 0; i < POLLS && !HasExited(); ++i) {
            std::this_thread::sleep_for(POLL_INTERVAL);
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
    ASSERT_FALSE(FindOnPath("gdbus").empty()) << "gdbus (libglib2.0-bin) is needed";
    TempDir dir;
    dir.Write("a.txt", "Secret plans.\n");
    const std::string key = "0123456789abcdef";
    const std::string cwd = fs::canonical(dir.Path()).string();

    const std::string daemon = FindOnPath("dbus-daemon");
    ASSERT_FALSE(daemon.empty()) << "dbus-daemon (dbus-daemon package) is needed";
    TempDir runtimeDir;
    SessionBus bus(daemon, runtimeDir.Path().string());
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start";
    AccessibilityReader reader(bus.address);
    RunningProgram program(dir.Path().string(), bus.address);
    const std::string dialog = program.WaitForWindow("Velmora");
    ASSERT_FALSE(dialog.empty()) << "the dialog did not appear";
    Focus(dialog);
    // Keys sent before the dialog has taken the focus for its own button may
    // land before the toolkit has settled where they go.
    ASSERT_TRUE(WaitForFocus(reader, "push button", "Encrypt"))
        << "the dialog never gave its Encrypt button the focus";

    // Tab from "Encrypt" to the tree; Down to "Drives", Down to the current
    // directory, Right to expand it, Down to a.txt; Tab to the key field.
    Keys("Tab Down Down Right Down Tab");
    Xdotool("type --delay 30 " + key + "XYZ");
    Keys("Return");

    const std::string box = program.WaitForWindow("velmora", {dialog});
    ASSERT_FALSE(box.empty()) << "no message box appeared";
    EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", key), "Secret plans.\n" + std::string(2, ' '));
    EXPECT_EQ(ReadFile(dir / "a.txt"), "Secret plans.\n");
    std::string seen;
    EXPECT_TRUE(
        WaitForAlertText(reader, "AES-CBC-128 encptry file " + cwd + "/a.txt successful!", seen))
        << "message boxes showed: " << seen;

    Focus(box);
    Keys("Return");

    Focus(dialog);
    Keys("F1");
    const std::string help = program.WaitForWindow("velmora", {dialog, box});
    ASSERT_FALSE(help.empty()) << "F1 showed no help box";
    // The wording itself is pinned down by the dialog's own tests.
    EXPECT_TRUE(WaitForAlertText(reader, desktop::HELP_TEXT, seen))
        << "message boxes showed: " << seen;
    Focus(help);
    Keys("Return");

    Focus(dialog);
    Keys("Escape");
    EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace velmora
