#pragma once

#include <string>

#include "core/encrypt.h"

namespace velmora::desktop {

/// The text the dialog shows for one file's result; `path` is the input
/// path as it was passed to EncryptTextFile.
std::string ResultMessage(EncryptResult result, const std::string& path);

}  // namespace velmora::desktop
