#include "settings/settings_page_win.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/common_controls_win.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "render/dpi_scale.h"
#include "render/fonts.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

bool isChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void setChecked(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void enableControls(HWND page, const int* ids, int count, bool enabled) {
  for (int i = 0; i < count && ids[i] != 0; ++i) EnableWindow(GetDlgItem(page, ids[i]), enabled);
}

void checkOneOfThree(HWND page, const int radios[3], int index) {
  for (int i = 0; i < 3; ++i) setChecked(page, radios[i], i == index);
}

int readThreeRadios(HWND page, const int radios[3]) {
  return valueOfRadioGroup(isChecked(page, radios[0]), isChecked(page, radios[1]));
}

void setControlText(HWND page, int id, const std::string& sjis) {
  SetDlgItemTextW(page, id, sjisToWide(sjis).c_str());
}

bool controlText(HWND page, int id, std::string& sjis) {
  HWND control = GetDlgItem(page, id);
  int length = GetWindowTextLengthW(control);
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(GetWindowTextW(control, wide.data(), length + 1)));
  return wideToSjis(wide, sjis);
}

void showSwitch(HWND page, int id, const char* key, SwitchReading reading) {
  setChecked(page, id, switchIsOn(readSettingInt(kMainSection, key), reading));
}

void saveSwitch(HWND page, int id, const char* key, SwitchReading reading) {
  writeSettingInt(kMainSection, key, switchValueToSave(readSettingInt(kMainSection, key), reading, isChecked(page, id)));
}

void initOptInSwitch(HWND page, int id, const char* key) {
  setChecked(page, id, readSettingInt(kMainSection, key) != 0);
}

void saveOptInSwitch(HWND page, int id, const char* key) {
  const bool checked = isChecked(page, id);
  if (optInSwitchNeedsWrite(readSettingInt(kMainSection, key), checked))
    writeSettingInt(kMainSection, key, checked ? 1 : 0);
}

void showPageMessage(HWND page, const char* sjis, UINT icon) {
  showMessageBox(page, sjisToWide(sjis).c_str(), MB_OK | icon);
}

namespace {

int followerCount(const DisplayPageShape& shape) {
  int count = 0;
  while (count < 5 && shape.followers[count] != 0) ++count;
  return count;
}

LOGFONTW toLogFont(const FontDescription& font) {
  LOGFONTW logfont{};
  logfont.lfHeight = font.height;
  logfont.lfWidth = font.width;
  logfont.lfEscapement = font.escapement;
  logfont.lfOrientation = font.orientation;
  logfont.lfWeight = font.weight;
  logfont.lfItalic = font.italic;
  logfont.lfUnderline = font.underline;
  logfont.lfStrikeOut = font.strikeOut;
  logfont.lfCharSet = font.charSet;
  logfont.lfOutPrecision = font.outPrecision;
  logfont.lfClipPrecision = font.clipPrecision;
  logfont.lfQuality = font.quality;
  logfont.lfPitchAndFamily = font.pitchAndFamily;
  std::wstring face = sjisToWide(std::string_view(font.faceName, strnlen(font.faceName, kFaceNameSize)));
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  std::memcpy(logfont.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
  return logfont;
}

// False when the face name has no Shift_JIS form: the settings file could
// not hold it.
bool fromLogFont(const LOGFONTW& logfont, FontDescription& font) {
  std::string face;
  if (!wideToSjis(std::wstring_view(logfont.lfFaceName, wcsnlen(logfont.lfFaceName, LF_FACESIZE)), face)) return false;
  font.height = logfont.lfHeight;
  font.width = logfont.lfWidth;
  font.escapement = logfont.lfEscapement;
  font.orientation = logfont.lfOrientation;
  font.weight = logfont.lfWeight;
  font.italic = logfont.lfItalic;
  font.underline = logfont.lfUnderline;
  font.strikeOut = logfont.lfStrikeOut;
  font.charSet = logfont.lfCharSet;
  font.outPrecision = logfont.lfOutPrecision;
  font.clipPrecision = logfont.lfClipPrecision;
  font.quality = logfont.lfQuality;
  font.pitchAndFamily = logfont.lfPitchAndFamily;
  std::size_t length = sjisCutLength(face, kFaceNameSize - 1);
  std::memcpy(font.faceName, face.data(), length);
  font.faceName[length] = '\0';
  return true;
}

}  // namespace

void initDisplayPage(HWND page, const DisplayPageShape& shape, const char* switchKey, FontDescription& font) {
  if (switchKey && switchIsOn(readSettingInt(kMainSection, switchKey), shape.switchReading)) {
    setChecked(page, shape.switchId, true);
    enableControls(page, shape.followers, followerCount(shape), true);
  }
  checkOneOfThree(page, shape.radios, radioForValue(readSettingInt(kMainSection, shape.typeKey)));
  font = FontDescription();
  readFontSection(shape.fontSection, font);
}

void followDisplaySwitch(HWND page, const DisplayPageShape& shape) {
  UINT state = IsDlgButtonChecked(page, shape.switchId);
  if (state == BST_CHECKED || state == BST_UNCHECKED)
    enableControls(page, shape.followers, followerCount(shape), state == BST_CHECKED);
}

void saveDisplayPageEnd(HWND page, const DisplayPageShape& shape, const FontDescription& font) {
  writeSettingInt(kMainSection, shape.typeKey, readThreeRadios(page, shape.radios));
  writeFontSection(font, shape.fontSection);
}

// The chooser works in the screen's pixels and shows the point size the user
// sees; the settings keep heights and widths at 96 DPI. A height or width
// the user left as it was keeps its stored value exactly, so that files do
// not drift by rounding at every OK.
void chooseFont(HWND page, FontDescription& font) {
  const int dpi = fontDpi();
  LOGFONTW logfont = toLogFont(font);
  const LONG offeredHeight = scaleToDpi(font.height, dpi);
  const LONG offeredWidth = scaleToDpi(font.width, dpi);
  logfont.lfHeight = offeredHeight;
  logfont.lfWidth = offeredWidth;
  CHOOSEFONTW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = page;
  chooser.lpLogFont = &logfont;
  chooser.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
  chooser.nSizeMin = kFontChooserMinPoints;
  chooser.nSizeMax = kFontChooserMaxPoints;
  if (!chooseFont(chooser)) return;
  const int storedHeight = font.height, storedWidth = font.width;
  if (!fromLogFont(logfont, font)) {
    showPageMessage(page, "このフォント名は設定ファイルに保存できません", MB_ICONWARNING);
    return;
  }
  font.height = fontHeightFromChooser(storedHeight, offeredHeight, logfont.lfHeight, chooser.iPointSize, dpi);
  font.width = fontHeightFromChooser(storedWidth, offeredWidth, logfont.lfWidth, 0, dpi);
}
