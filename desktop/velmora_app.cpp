#include "desktop/velmora_app.h"

#include "desktop/encrypt_dialog.h"

namespace velmora::desktop {

bool VelmoraApp::OnInit() {
    return true;
}

int VelmoraApp::OnRun() {
    EncryptDialog dialog(nullptr);
    SetTopWindow(&dialog);
    dialog.ShowModal();
    return 0;
}

}  // namespace velmora::desktop
