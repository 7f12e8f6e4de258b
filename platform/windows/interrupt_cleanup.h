#pragma once

namespace velmora::platform::windows {

/// Makes Ctrl+C, Ctrl+Break, closing the console window, logoff and
/// shutdown remove the temporary file in progress before the program ends
/// as it would have without the handler.
void InstallInterruptCleanup();

/// Holds off the interruption handler while it lives, for the steps that
/// must not be cut in half: creating the temporary file and recording it,
/// and giving it its final name or removing it. A handler that has run
/// keeps it held for good, so that once it has cleaned up nothing new is
/// started before the process ends.
class InterruptionsHeld {
  public:
    InterruptionsHeld();
    ~InterruptionsHeld();
    InterruptionsHeld(const InterruptionsHeld&) = delete;
    InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;
};

/// Names the temporary file now being written (a path as the wide calls
/// take it); an interruption from now on removes it. Only called while
/// interruptions are held. False, recording nothing, when the path is too
/// long to record.
bool SetTemporaryInProgress(const wchar_t* path);

/// The temporary file is gone or has taken its place: nothing to remove.
/// Only called while interruptions are held.
void ClearTemporaryInProgress();

}  // namespace velmora::platform::windows
