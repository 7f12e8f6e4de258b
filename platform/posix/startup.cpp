#include <openssl/crypto.h>

#include <clocale>

#include "platform/posix/interrupt_cleanup.h"
#include "platform/startup.h"

namespace velmora::platform {

bool StartUp() {
    std::setlocale(LC_ALL, "");
    if (OPENSSL_init_crypto(0, nullptr) != 1) {
        return false;
    }
    posix::InstallInterruptCleanup();
    return true;
}

}  // namespace velmora::platform
