// The background page: plain colour, the desktop showing through, or a
// picture, chosen with the open-file dialog.
#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <string>

#include "platform/common_controls_win.h"
#include "platform/file_io.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "settings/app_settings.h"
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

namespace {

constexpr int kNormal = 1018;
constexpr int kTransparent = 1015;
constexpr int kPicture = 1017;
constexpr int kChooseButton = 1019;
constexpr int kAutoSize = 1020;
constexpr int kPictureFollowers[2] = {kAutoSize, kChooseButton};

// The path being edited: what BK_IMAGE held at the page's creation, or the
// file last chosen. At most kPicturePathCapacity - 1 bytes.
char pictureWorkingPath[kPicturePathCapacity] = "";

void onInit(HWND page) {
  int wall = readSettingInt(kMainSection, "WALL");
  if (wall == 1) {
    setChecked(page, kTransparent, true);
  } else if (wall == 2) {
    setChecked(page, kPicture, true);
    enableControls(page, kPictureFollowers, 2, true);
  } else {
    setChecked(page, kNormal, true);
  }
  // The picture is stretched for any AUTO_SIZE but 0.
  showSwitch(page, kAutoSize, "AUTO_SIZE", SwitchReading::NotZero);
  readSettingString(kMainSection, "BK_IMAGE", pictureWorkingPath, sizeof pictureWorkingPath);
}

void onWallChanged(HWND page) {
  UINT state = IsDlgButtonChecked(page, kPicture);
  if (state == BST_CHECKED || state == BST_UNCHECKED)
    enableControls(page, kPictureFollowers, 2, state == BST_CHECKED);
}

std::wstring initialDirectory() {
  std::string_view path = pictureWorkingPath;
  if (path.empty()) {
    std::string exe = executablePath();
    return sjisToWide(sjisDirectoryPart(exe));
  }
  return sjisToWide(sjisDirectoryPart(path));
}

// The chooser keeps the working path when it is cancelled, and also when
// the chosen file's path cannot be stored (no Shift_JIS form, or longer than
// the setting holds): the user is told.
void choosePicture(HWND page) {
  wchar_t file[kPicturePathCapacity] = L"";
  std::wstring current = sjisToWide(pictureWorkingPath);
  if (current.size() < kPicturePathCapacity) std::memcpy(file, current.c_str(), (current.size() + 1) * sizeof(wchar_t));
  std::wstring directory = initialDirectory();
  OPENFILENAMEW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = page;
  // Description and pattern, each NUL-terminated, then the closing NUL.
  std::wstring filter = sjisToWide("画像ﾌｧｲﾙ(*.bmp,*.jpg)");
  filter.push_back(L'\0');
  filter += L"*.bmp;*.jpg";
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring title = sjisToWide("画像ファイルの指定");
  chooser.lpstrFilter = filter.c_str();
  chooser.nFilterIndex = 1;
  chooser.lpstrFile = file;
  chooser.nMaxFile = kPicturePathCapacity;
  chooser.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  chooser.lpstrTitle = title.c_str();
  chooser.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  chooser.lpstrDefExt = L"bmp";
  if (!chooseFileToOpen(chooser)) return;
  std::string chosen;
  if (!wideToSjis(file, chosen) || chosen.size() >= kPicturePathCapacity) {
    showPageMessage(page, "この画像ファイルの名前は設定ファイルに保存できません", MB_ICONWARNING);
    return;
  }
  std::memcpy(pictureWorkingPath, chosen.c_str(), chosen.size() + 1);
}

bool onCommand(HWND page, int id) {
  switch (id) {
    case kNormal:
    case kTransparent:
    case kPicture:
      onWallChanged(page);
      return true;
    case kChooseButton:
      choosePicture(page);
      return true;
    default:
      return false;
  }
}

void save(HWND page) {
  int wall = isChecked(page, kTransparent) ? 1 : isChecked(page, kPicture) ? 2 : 0;
  writeSettingInt(kMainSection, "WALL", wall);
  saveSwitch(page, kAutoSize, "AUTO_SIZE", SwitchReading::NotZero);
  writeSettingString(kMainSection, "BK_IMAGE", pictureWorkingPath);
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      onInit(page);
      return TRUE;
    case WM_COMMAND:
      return handled(onCommand(page, LOWORD(wParam)));
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kBackgroundPage{"背景", L"IDD_ENVHAIKEI", procedure, save};
