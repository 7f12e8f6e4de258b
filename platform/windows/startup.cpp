#include <windows.h>

#include "platform/startup.h"
#include "platform/windows/cipher.h"
#include "platform/windows/interrupt_cleanup.h"

namespace velmora::platform {

bool StartUp() {
    // A drive without a medium (an empty card reader) makes a call fail
    // instead of asking the user in a system error box.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (!windows::AesProviderReady()) {
        return false;
    }
    windows::InstallInterruptCleanup();
    return true;
}

}  // namespace velmora::platform
