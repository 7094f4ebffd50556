// The tooltip texts of the tool buttons, as the main window answers the
// common controls' request in either of its two forms.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/tool_window_win.h"

namespace {

TEST(ToolTipRequest, NarrowFormGetsShiftJisTextForTheFiveCommands) {
  const struct {
    int command;
    const char* text;
  } expected[] = {{40001, "前の月"}, {40002, "今月"}, {40003, "次の月"}, {40004, "設定"}, {40013, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ"}};
  for (const auto& e : expected) {
    NMTTDISPINFOA info{};
    info.hdr.code = TTN_GETDISPINFOA;  // −520
    info.hdr.idFrom = static_cast<UINT_PTR>(e.command);
    answerToolTipRequest(&info.hdr);
    EXPECT_STREQ(info.szText, e.text) << e.command;
    EXPECT_EQ(info.lpszText, info.szText) << e.command;
  }
}

TEST(ToolTipRequest, WideFormGetsTheSameTexts) {
  NMTTDISPINFOW info{};
  info.hdr.code = TTN_GETDISPINFOW;
  info.hdr.idFrom = 40013;
  answerToolTipRequest(&info.hdr);
  EXPECT_EQ(std::wstring(info.szText), L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ");
}

TEST(ToolTipRequest, OtherIdsAndOtherCodesAreLeftUntouched) {
  NMTTDISPINFOA other{};
  other.hdr.code = TTN_GETDISPINFOA;
  other.hdr.idFrom = 40011;  // a menu command without a button
  std::strcpy(other.szText, "keep");
  answerToolTipRequest(&other.hdr);
  EXPECT_STREQ(other.szText, "keep");
  EXPECT_EQ(other.lpszText, nullptr);

  NMTTDISPINFOA notTooltip{};
  notTooltip.hdr.code = NM_CLICK;
  notTooltip.hdr.idFrom = 40001;
  answerToolTipRequest(&notTooltip.hdr);
  EXPECT_EQ(notTooltip.szText[0], '\0');
  answerToolTipRequest(nullptr);
}

}  // namespace
