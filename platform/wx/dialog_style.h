#pragma once

#include <wx/button.h>
#include <wx/font.h>

namespace velmora::platform {

/// The font the program's dialog is laid out in: its dialog units, and so
/// its size on screen, follow from it. On Windows "MS Shell Dlg" at 8
/// points, the font of Windows' own dialogs (the system maps it to its
/// dialog font); an invalid font elsewhere, where the desktop's own font
/// stays.
wxFont DialogFont();

/// Gives a push button the look of a default push button as well, where the
/// system lets more than one button carry it (Windows: BS_DEFPUSHBUTTON,
/// which the system moves as the focus moves from button to button). GTK
/// gives a window one default button only: nothing there.
void AddDefaultPushButtonStyle(wxButton* button);

}  // namespace velmora::platform
