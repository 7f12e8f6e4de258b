// Times a click on a program's window as its user sees it: from the click
// until the program answers again and what it shows has stopped changing.
// An X client of its own, beside the program under test (the Linux program,
// or the Windows program under Wine); bench/tree-click drives it.
//
//   repaint_probe expanders WINDOW
//       Finds the tree of the velmora dialog in the window's pixels and the
//       buttons of its top-level items: prints "tree X Y W H", then one
//       "expander X Y closed|open" line per button, top to bottom (root
//       coordinates). Made for the generic tree that wxGTK draws: a
//       light area, and dark arrows at its left edge.
//
//   repaint_probe click WINDOW X Y
//       Clicks at X, Y (xdotool) and waits until the window has settled:
//       the program answers a _NET_WM_PING (its event loop runs again) and
//       the window's pixels, grabbed after each answer, have not changed for
//       a quiet while. Prints "settled S answered A": the seconds from the
//       click to the first grab that showed the final picture, and to the
//       first answer. Exits 1 when nothing changed or nothing settled in
//       time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

/// How long the picture must stay the same to count as settled.
constexpr auto QUIET = std::chrono::milliseconds(500);
/// How long a click may take to settle before the probe gives up.
constexpr auto GIVE_UP = std::chrono::seconds(300);
/// Pause between two looks at a window that is answering.
constexpr auto POLL_PAUSE = std::chrono::milliseconds(10);

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

/// The window's rectangle in root coordinates.
Rect WindowRect(Display* display, Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

/// The pixels of `rect` of the screen as 0xRRGGBB values, row by row.
std::vector<unsigned long> Grab(Display* display, const Rect& rect) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), rect.x, rect.y,
                              static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height),
                              AllPlanes, ZPixmap);
    std::vector<unsigned long> pixels;
    if (image == nullptr) {
        return pixels;
    }
    pixels.reserve(static_cast<size_t>(rect.width) * static_cast<size_t>(rect.height));
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        }
    }
    XDestroyImage(image);
    return pixels;
}

int Brightness(unsigned long pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
}

/// Sends the window a _NET_WM_PING and waits for the program's answer, which
/// its event loop sends to the root window. False when none comes in time.
bool Ping(Display* display, Window window, long serial, Clock::time_point deadline) {
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping);
    event.xclient.data.l[1] = serial;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent answer{};
            XNextEvent(display, &answer);
            if (answer.type == ClientMessage && answer.xclient.message_type == protocols &&
                static_cast<Atom>(answer.xclient.data.l[0]) == ping &&
                answer.xclient.data.l[1] == serial) {
                return true;
            }
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 100);
    }
    return false;
}

/// Runs a program and waits for it; its exit status, or -1.
int RunProgram(std::vector<std::string> argv) {
    std::vector<char*> args;
    for (std::string& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Click(Display* display, Window window, int x, int y) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    const Rect rect = WindowRect(display, window);
    const auto deadlineFromStart = Clock::now() + GIVE_UP;
    long serial = 1;
    // The picture before the click, once the program is idle.
    if (!Ping(display, window, serial++, deadlineFromStart)) {
        std::fprintf(stderr, "the window does not answer before the click\n");
        return 1;
    }
    RunProgram({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y)});
    Ping(display, window, serial++, deadlineFromStart);
    std::this_thread::sleep_for(QUIET);
    const std::vector<unsigned long> before = Grab(display, rect);

    const Clock::time_point click = Clock::now();
    const auto deadline = click + GIVE_UP;
    if (RunProgram({"xdotool", "click", "1"}) != 0) {
        std::fprintf(stderr, "xdotool click failed\n");
        return 1;
    }
    Clock::time_point firstAnswer{};
    Clock::time_point lastChange = click;
    std::vector<unsigned long> shown = before;
    while (Clock::now() < deadline) {
        if (!Ping(display, window, serial++, deadline)) {
            break;
        }
        const Clock::time_point answered = Clock::now();
        if (firstAnswer == Clock::time_point{}) {
            firstAnswer = answered;
        }
        std::vector<unsigned long> now = Grab(display, rect);
        const Clock::time_point grabbed = Clock::now();
        if (now != shown) {
            shown = std::move(now);
            lastChange = grabbed;
        } else if (shown != before && grabbed - lastChange >= QUIET) {
            std::printf("settled %.3f answered %.3f\n", Seconds(lastChange - click),
                        Seconds(firstAnswer - click));
            return 0;
        }
        std::this_thread::sleep_for(POLL_PAUSE);
    }
    std::fprintf(stderr, "%s\n",
                 shown == before ? "the click changed nothing" : "the window never settled");
    return 1;
}

/// The largest 4-connected area of pixels brighter than `threshold`.
Rect LargestLightArea(const std::vector<unsigned long>& pixels, int width, int height,
                      int threshold) {
    std::vector<int> label(pixels.size(), 0);
    Rect best;
    long bestCount = 0;
    std::vector<int> stack;
    int next = 0;
    for (int start = 0; start < width * height; ++start) {
        if (label[start] != 0 || Brightness(pixels[start]) <= threshold) {
            continue;
        }
        ++next;
        label[start] = next;
        stack.assign(1, start);
        long count = 0;
        int left = width, top = height, right = -1, bottom = -1;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            ++count;
            const int x = at % width, y = at / width;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            const int neighbours[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : neighbours) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= width || n[1] >= height) {
                    continue;
                }
                const int index = n[1] * width + n[0];
                if (label[index] == 0 && Brightness(pixels[index]) > threshold) {
                    label[index] = next;
                    stack.push_back(index);
                }
            }
        }
        if (count > bestCount) {
            bestCount = count;
            best = {left, top, right - left + 1, bottom - top + 1};
        }
    }
    return best;
}

int Expanders(Display* display, Window window) {
    const Rect rect = WindowRect(display, window);
    const std::vector<unsigned long> pixels = Grab(display, rect);
    if (pixels.empty()) {
        std::fprintf(stderr, "cannot read the window's pixels\n");
        return 1;
    }
    // The tree is the largest light area of the dialog (its background is
    // the list colour; the text field and the filter box are smaller).
    const Rect tree = LargestLightArea(pixels, rect.width, rect.height, 230);
    std::printf("tree %d %d %d %d\n", rect.x + tree.x, rect.y + tree.y, tree.width, tree.height);
    const auto dark = [&](int x, int y) {
        return Brightness(pixels[static_cast<size_t>((tree.y + y) * rect.width + tree.x + x)]) <
               110;
    };
    // The buttons of the top-level items are the leftmost dark marks; those
    // of deeper items and the icons and texts lie further right.
    int leftmost = tree.width;
    for (int y = 0; y < tree.height; ++y) {
        for (int x = 0; x < leftmost; ++x) {
            if (dark(x, y)) {
                leftmost = x;
                break;
            }
        }
    }
    const int band = std::min(leftmost + 10, tree.width);
    struct Mark {
        int left, top, right, bottom;
    };
    std::vector<Mark> marks;
    int gap = 99;
    for (int y = 0; y < tree.height; ++y) {
        int left = band, right = -1;
        for (int x = leftmost; x < band; ++x) {
            if (dark(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (right < 0) {
            ++gap;
            continue;
        }
        if (gap > 2 || marks.empty()) {
            marks.push_back({left, y, right, y});
        } else {
            Mark& mark = marks.back();
            mark.left = std::min(mark.left, left);
            mark.right = std::max(mark.right, right);
            mark.bottom = y;
        }
        gap = 0;
    }
    for (const Mark& mark : marks) {
        const int width = mark.right - mark.left + 1;
        const int height = mark.bottom - mark.top + 1;
        // A closed item's arrow points right (taller than wide), an open
        // one's down.
        std::printf("expander %d %d %s\n", rect.x + tree.x + (mark.left + mark.right) / 2,
                    rect.y + tree.y + (mark.top + mark.bottom) / 2,
                    height >= width ? "closed" : "open");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (!((command == "expanders" && argc == 3) || (command == "click" && argc == 5))) {
        std::fprintf(stderr, "usage: %s expanders WINDOW | click WINDOW X Y\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    if (DefaultDepth(display, DefaultScreen(display)) < 24) {
        std::fprintf(stderr,
                     "the display needs 24-bit colour (xvfb-run -s '-screen 0 1024x768x24')\n");
        XCloseDisplay(display);
        return 2;
    }
    const Window window = std::strtoul(argv[2], nullptr, 0);
    const int status = command == "expanders"
                           ? Expanders(display, window)
                           : Click(display, window, std::atoi(argv[3]), std::atoi(argv[4]));
    XCloseDisplay(display);
    return status;
}
