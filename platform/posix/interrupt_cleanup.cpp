#include "platform/posix/interrupt_cleanup.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace velmora::platform::posix {
namespace {

constexpr int INTERRUPTIONS[] = {SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler: only set while the name and folder are valid.
volatile sig_atomic_t temporaryActive = 0;
int temporaryFolder = -1;
char temporaryName[MAX_TEMPORARY_NAME + 1];

void OnInterruption(int signalNumber) {
    if (temporaryActive != 0) {
        unlinkat(temporaryFolder, temporaryName, 0);
    }
    // The handler was reset to the default on entry: end as the signal would.
    raise(signalNumber);
}

sigset_t InterruptionSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signalNumber : INTERRUPTIONS) {
        sigaddset(&set, signalNumber);
    }
    return set;
}

}  // namespace

void InstallInterruptCleanup() {
    // A file-size limit makes the write fail, and a reader that goes away
    // (`velmora-cli KEY folder | head -1`) makes the report's writes fail,
    // instead of ending the program with files left undone.
    signal(SIGXFSZ, SIG_IGN);
    signal(SIGPIPE, SIG_IGN);
    for (int signalNumber : INTERRUPTIONS) {
        struct sigaction current;
        if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = OnInterruption;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
    }
}

void SetTemporaryInProgress(int folderFd, const char* name) {
    temporaryActive = 0;
    temporaryFolder = folderFd;
    std::strncpy(temporaryName, name, MAX_TEMPORARY_NAME);
    temporaryName[MAX_TEMPORARY_NAME] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);  // name first, then the flag
    temporaryActive = 1;
}

void ClearTemporaryInProgress() {
    temporaryActive = 0;
}

InterruptionsHeld::InterruptionsHeld() {
    const sigset_t set = InterruptionSet();
    sigprocmask(SIG_BLOCK, &set, &previous);
}

InterruptionsHeld::~InterruptionsHeld() {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace velmora::platform::posix
