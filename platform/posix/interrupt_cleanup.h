#pragma once

#include <signal.h>

namespace velmora::platform::posix {

/// Longest temporary file name the interruption handlers can remove.
inline constexpr int MAX_TEMPORARY_NAME = 63;

/// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file in progress
/// and then end the program as the signal would (signals the process was
/// started with ignored stay ignored), and ignores SIGXFSZ and SIGPIPE, so
/// that a file-size limit or a reader that went away makes a write fail
/// instead of ending the program.
void InstallInterruptCleanup();

/// Names the temporary file now being written: `name` in the folder open as
/// `folderFd`. An interruption from now on removes it.
void SetTemporaryInProgress(int folderFd, const char* name);

/// The temporary file is gone or has taken its place: nothing to remove.
void ClearTemporaryInProgress();

/// Holds back SIGINT, SIGTERM and SIGHUP while it lives, for the few steps
/// that must not be cut in half; they are delivered when it goes.
class InterruptionsHeld {
  public:
    InterruptionsHeld();
    ~InterruptionsHeld();
    InterruptionsHeld(const InterruptionsHeld&) = delete;
    InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;

  private:
    sigset_t previous;
};

}  // namespace velmora::platform::posix
