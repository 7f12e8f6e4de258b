#pragma once

#include <wx/iconbndl.h>

namespace velmora::desktop {

/// The program's icon in 16 and 32 pixels, compiled into the program.
wxIconBundle LoadAppIcon();

}  // namespace velmora::desktop
