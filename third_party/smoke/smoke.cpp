// Links the pieces of wxWidgets the desktop program needs, the PNG handler
// (and so libpng and zlib) among them.
#include <wx/imagpng.h>
#include <wx/wx.h>

class SmokeApp : public wxApp {
    bool OnInit() override {
        wxImage::AddHandler(new wxPNGHandler);
        return false;
    }
};
wxIMPLEMENT_APP(SmokeApp);
