#include "platform/windows/interrupt_cleanup.h"

#include <windows.h>

#include <cwchar>

namespace velmora::platform::windows {
namespace {

// The system calls the handler on a thread of its own, while the main thread
// goes on: the record below is only read or changed under this lock.
SRWLOCK recordLock = SRWLOCK_INIT;
bool temporaryActive = false;
// Room for any path the wide calls accept ("\\?\" paths up to 32767 units).
wchar_t temporaryPath[32768];

BOOL WINAPI OnInterruption(DWORD) {
    // Never released: the process is about to end, and the main thread must
    // not start another temporary file before it does.
    ::AcquireSRWLockExclusive(&recordLock);
    if (temporaryActive) {
        // The file was opened with FILE_SHARE_DELETE, so it can go while the
        // main thread still writes to it; it is gone once that handle closes.
        ::DeleteFileW(temporaryPath);
        temporaryActive = false;
    }
    return FALSE;  // on to the next handler, in the end the system's: the process ends
}

}  // namespace

void InstallInterruptCleanup() {
    ::SetConsoleCtrlHandler(OnInterruption, TRUE);
}

InterruptionsHeld::InterruptionsHeld() {
    ::AcquireSRWLockExclusive(&recordLock);
}

InterruptionsHeld::~InterruptionsHeld() {
    ::ReleaseSRWLockExclusive(&recordLock);
}

bool SetTemporaryInProgress(const wchar_t* path) {
    const std::size_t length = std::wcslen(path);
    if (length >= sizeof temporaryPath / sizeof temporaryPath[0]) {
        temporaryActive = false;
        return false;
    }
    std::wmemcpy(temporaryPath, path, length + 1);
    temporaryActive = true;
    return true;
}

void ClearTemporaryInProgress() {
    temporaryActive = false;
}

}  // namespace velmora::platform::windows
