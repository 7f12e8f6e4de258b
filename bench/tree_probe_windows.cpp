// Tells where the buttons of the velmora dialog's tree are on the screen,
// and what the tree holds, as another Windows program reads them: through
// the tree view's own messages (bench/tree-click clicks there under Wine).
//
// Usage: tree_probe WINDOW_TITLE
//
// Prints "tree X Y W H" (the tree control 1000 on the screen), one
// "expander X Y closed|open CHILDREN" line per top-level item (the centre
// of its button; CHILDREN is the number of items right below it), and
// "items N" (every item of the tree). Exits 1 when there is no such
// window or tree.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "tests/desktop/windows/window_text.h"

namespace {

/// The dialog's tree control.
constexpr int TREE_ID = 1000;

/// A few bytes in the tree's process, for the messages that take a pointer.
class RemoteBuffer {
  public:
    RemoteBuffer(HWND window, size_t bytes) : size(bytes) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        process =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process != nullptr) {
            address = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (address != nullptr) {
            ::VirtualFreeEx(process, address, 0, MEM_RELEASE);
        }
        if (process != nullptr) {
            ::CloseHandle(process);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return address != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address); }
    void Put(const void* bytes) { ::WriteProcessMemory(process, address, bytes, size, nullptr); }
    void Get(void* bytes) const { ::ReadProcessMemory(process, address, bytes, size, nullptr); }

  private:
    size_t size;
    HANDLE process = nullptr;
    void* address = nullptr;
};

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

/// The centre of the item's button in screen coordinates; false when the
/// item shows none.
bool ButtonCentre(HWND tree, HTREEITEM item, RemoteBuffer& rectBuffer, RemoteBuffer& hitBuffer,
                  POINT& centre) {
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    rectBuffer.Put(&rect);
    // wParam TRUE: the rectangle of the text alone; the button lies left of it.
    if (!::SendMessageW(tree, TVM_GETITEMRECT, TRUE, rectBuffer.Address())) {
        return false;
    }
    rectBuffer.Get(&rect);
    const int y = (rect.top + rect.bottom) / 2;
    int left = -1, right = -1;
    for (int x = 0; x < rect.left; ++x) {
        TVHITTESTINFO hit{};
        hit.pt = {x, y};
        hitBuffer.Put(&hit);
        ::SendMessageW(tree, TVM_HITTEST, 0, hitBuffer.Address());
        hitBuffer.Get(&hit);
        if (hit.hItem == item && (hit.flags & TVHT_ONITEMBUTTON) != 0) {
            left = left < 0 ? x : left;
            right = x;
        }
    }
    if (left < 0) {
        return false;
    }
    centre = {(left + right) / 2, y};
    return ::ClientToScreen(tree, &centre) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = velmora::platform::ProgramArguments(argc, argv);
    if (arguments.size() != 2) {
        std::fputs("usage: tree_probe WINDOW_TITLE\n", stderr);
        return 2;
    }
    const HWND dialog = velmora::testing::ShownWindowCaptioned(arguments[1]);
    const HWND tree = dialog != nullptr ? ::GetDlgItem(dialog, TREE_ID) : nullptr;
    if (tree == nullptr) {
        std::puts("no such window, or no tree in it");
        return 1;
    }
    RECT rect{};
    ::GetWindowRect(tree, &rect);
    std::printf("tree %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    RemoteBuffer rectBuffer(tree, sizeof(RECT));
    RemoteBuffer hitBuffer(tree, sizeof(TVHITTESTINFO));
    if (!rectBuffer.Ok() || !hitBuffer.Ok()) {
        std::puts("cannot reach the tree's process");
        return 1;
    }
    for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item != nullptr;
         item = Next(tree, TVGN_NEXT, item)) {
        POINT centre{};
        if (!ButtonCentre(tree, item, rectBuffer, hitBuffer, centre)) {
            continue;
        }
        const bool open =
            (::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
             TVIS_EXPANDED) != 0;
        long children = 0;
        for (HTREEITEM child = Next(tree, TVGN_CHILD, item); child != nullptr;
             child = Next(tree, TVGN_NEXT, child)) {
            ++children;
        }
        std::printf("expander %ld %ld %s %ld\n", centre.x, centre.y, open ? "open" : "closed",
                    children);
    }
    std::printf("items %ld\n", static_cast<long>(::SendMessageW(tree, TVM_GETCOUNT, 0, 0)));
    return 0;
}
