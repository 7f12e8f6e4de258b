#pragma once

#include <wx/app.h>

#include <memory>

#include "platform/file_system.h"
#include "platform/folder_search.h"
#include "platform/wx/message_box.h"
#include "platform/wx/shell.h"

namespace velmora::desktop {

/// The desktop program: runs the main dialog modally and ends with it. It
/// makes the real operating-system services once and hands them to the
/// dialog.
class VelmoraApp : public wxApp {
  public:
    /// Starts the platform and makes the services. Takes no command-line
    /// options: any arguments are ignored.
    bool OnInit() override;

    /// Shows EncryptDialog as the main window until it is closed, then
    /// returns the exit status 0; there is no other event loop.
    int OnRun() override;

  private:
    std::unique_ptr<platform::Shell> shell;
    platform::RealFolderSearch search;
    platform::RealFileSystem files;
    platform::SystemMessageBoxes messageBoxes;
};

}  // namespace velmora::desktop
