#include "platform/wx/system_menu.h"

namespace velmora::platform {

// GTK gives programs no system menu to add to; F1 is the way to the help.
void AppendHelpItemToSystemMenu(void*, const std::string&) {}

}  // namespace velmora::platform
