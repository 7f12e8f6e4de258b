#include <wx/app.h>

#include "desktop/velmora_app.h"

wxIMPLEMENT_APP(velmora::desktop::VelmoraApp);
