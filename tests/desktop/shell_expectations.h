#pragma once

// Checks that hold for what any platform's shell hands out.
#include <gtest/gtest.h>

#include "platform/wx/shell.h"

namespace velmora::testing {

/// Checks that both icons are usable and exactly the shell's icon size.
inline void ExpectIconsOfExactSize(const platform::ShellItemInfo& info,
                                   const platform::Shell& shell) {
    for (const wxBitmap* bitmap : {&info.icon, &info.openIcon}) {
        ASSERT_TRUE(bitmap->IsOk());
        EXPECT_EQ(bitmap->GetSize(), shell.SmallIconSize());
    }
}

}  // namespace velmora::testing
