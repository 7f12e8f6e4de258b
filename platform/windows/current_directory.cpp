#include <windows.h>

#include "platform/current_directory.h"
#include "platform/windows/wide_text.h"

namespace velmora::platform {

std::string CurrentDirectory() {
    // Another thread may change the directory between the two calls: ask
    // again until the buffer is big enough.
    std::wstring buffer;
    for (DWORD size = ::GetCurrentDirectoryW(0, nullptr); size > 0;) {
        buffer.resize(size);
        const DWORD length = ::GetCurrentDirectoryW(size, buffer.data());
        if (length == 0) {
            break;
        }
        if (length < size) {
            buffer.resize(length);
            return windows::WideToUtf8(buffer);
        }
        size = length;
    }
    return std::string();
}

}  // namespace velmora::platform
