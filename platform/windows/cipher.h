#pragma once

namespace velmora::platform::windows {

/// Opens the system's AES provider (once; later calls only tell the result)
/// and reports whether AES-128-CBC can be used.
bool AesProviderReady();

}  // namespace velmora::platform::windows
