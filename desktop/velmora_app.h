#pragma once

#include <wx/app.h>

namespace velmora::desktop {

/// The desktop program: runs the main dialog modally and ends with it.
class VelmoraApp : public wxApp {
  public:
    /// Takes no command-line options: any arguments are ignored.
    bool OnInit() override;

    /// Shows EncryptDialog as the main window until it is closed, then
    /// returns the exit status 0; there is no other event loop.
    int OnRun() override;
};

}  // namespace velmora::desktop
