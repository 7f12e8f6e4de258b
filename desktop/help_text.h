#pragma once

// The help text is kept byte for byte, misspelling included ("sepcial"); see
// docs/behaviour.md.

namespace velmora::desktop {

/// The text F1 shows in the main dialog.
inline constexpr const char* HELP_TEXT =
    "Help:\n"
    "1.If you select one file like 'xxx.txt',only one file like 'xxx.ser', will be generated.\n"
    "\tIf you select a directory, which include several files like 'xxxxx.txt',\n"
    "\tall of those files in this layer will be encrypted,\n"
    "\tand the files name type will be replaced by 'xxxxx.ser'\n"
    "2.The length of encrypt key must be 16!\n"
    "3.File type filter will allow some sepcial file type show!";

/// The item the dialog adds to its system menu (Windows; GTK has none),
/// which only points to F1. velmora.rc carries the same text as string 101,
/// for tools that read the program's resources.
inline constexpr const char* HELP_MENU_ITEM_TEXT = "&Help.Please press key 'F1'.";

}  // namespace velmora::desktop
