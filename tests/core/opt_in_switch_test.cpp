// The check boxes of the opt-in switches (ROKUYO, WAREKI): the settings
// file changes only when the box says otherwise than the file.
#include <gtest/gtest.h>

#include "settings/settings_pages.h"

namespace {

TEST(SettingsPages, OptInSwitchesAreWrittenOnlyWhenChanged) {
  EXPECT_FALSE(optInSwitchNeedsWrite(0, false)) << "absent (or 0) and clear: the file keeps its bytes";
  EXPECT_TRUE(optInSwitchNeedsWrite(0, true));
  EXPECT_TRUE(optInSwitchNeedsWrite(1, false));
  EXPECT_FALSE(optInSwitchNeedsWrite(1, true));
  EXPECT_FALSE(optInSwitchNeedsWrite(2, true)) << "any value but 0 is on, and stays as written";
  EXPECT_TRUE(optInSwitchNeedsWrite(-1, false));
}

}  // namespace
