#pragma once

// Typing through the X server in an in-process test: real key presses reach
// a window only once it holds the focus, and are handled only when the
// toolkit runs its event loop.
#include <wx/app.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/window.h>

namespace velmora::testing {

/// Runs the event loop until `done()` holds, for up to `tries` rounds of
/// about 10 ms; whether it holds.
template <typename Done>
bool YieldUntil(const Done& done, int tries) {
    for (int round = 0; round < tries; ++round) {
        if (done()) {
            return true;
        }
        wxYield();
        wxMilliSleep(10);
    }
    return done();
}

/// Gives `window` the keyboard focus, raising its top-level window (there is
/// no window manager under Xvfb to do it); whether `window` has it.
inline bool GiveKeyboardFocus(wxWindow* window) {
    return YieldUntil(
        [window] {
            if (wxWindow::FindFocus() == window) {
                return true;
            }
            wxGetTopLevelParent(window)->Raise();
            window->SetFocus();
            return false;
        },
        300);
}

}  // namespace velmora::testing
