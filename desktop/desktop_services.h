#pragma once

#include "core/encrypt_target.h"
#include "platform/file_system.h"
#include "platform/folder_search.h"
#include "platform/wx/message_box.h"
#include "platform/wx/shell.h"

namespace velmora::desktop {

/// The operating-system services the dialog and its tree work through; the
/// application makes the real ones once, tests hand in their own.
struct DesktopServices {
    const platform::Shell& shell;
    const platform::FolderSearch& search;
    platform::FileSystem& files;
    platform::MessageBoxes& messageBoxes;

    TargetServices ForEncryption() const { return {files, search}; }
};

}  // namespace velmora::desktop
