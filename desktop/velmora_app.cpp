#include "desktop/velmora_app.h"

#include "desktop/encrypt_dialog.h"
#include "platform/startup.h"

namespace velmora::desktop {

bool VelmoraApp::OnInit() {
    if (!platform::StartUp()) {
        return false;
    }
    shell = platform::NewSystemShell();
    return true;
}

int VelmoraApp::OnRun() {
    EncryptDialog dialog(nullptr, DesktopServices{*shell, search, files, messageBoxes});
    SetTopWindow(&dialog);
    dialog.ShowModal();
    return 0;
}

}  // namespace velmora::desktop
