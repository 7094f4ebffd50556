#include "test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/file_io.h"
#include "platform/message_box.h"
#include "settings/settings_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace testing_support {

TempDir::TempDir() {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  std::random_device random;
  for (;;) {
    fs::path candidate = base / ("sorvane-test-" + std::to_string(random()));
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string();
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  // Files made read-only by a test must become writable to be removed.
  for (auto& entry : fs::recursive_directory_iterator(path_, ec))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
  return (fs::path(path_) / name).string();
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

void setReadOnly(const std::string& path, bool readOnly) {
  std::error_code ec;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
}

std::vector<std::string> listDirectory(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto& entry : fs::directory_iterator(path, ec)) names.push_back(entry.path().filename().string());
  return names;
}

bool temporaryLeftBeside(const std::string& path) {
  for (const std::string& name : listDirectory(fs::path(path).parent_path().string()))
    if (isTemporaryFileName(name)) return true;
  return false;
}

HeldLikeASave::HeldLikeASave(const std::string& path) {
#ifdef _WIN32
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    handle_ = file;
    held_ = true;
  }
#else
  fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX) == 0;
#endif
}

HeldLikeASave::~HeldLikeASave() {
#ifdef _WIN32
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
#else
  if (fd_ >= 0) ::close(fd_);
#endif
}

void* screenDeviceContext() {
#ifdef _WIN32
  static HDC screen = GetDC(nullptr);
  return screen;
#else
  return nullptr;
#endif
}

namespace {
std::vector<std::string> captured;
void capture(const char* text) { captured.emplace_back(text); }
}  // namespace

WarningCapture::WarningCapture() {
  captured.clear();
  setWarningHook(capture);
}
WarningCapture::~WarningCapture() { setWarningHook(nullptr); }
const std::vector<std::string>& WarningCapture::messages() const { return captured; }

SettingsFileOverride::SettingsFileOverride(const std::string& path) { overrideSettingsFilePath(path); }
SettingsFileOverride::~SettingsFileOverride() { overrideSettingsFilePath(std::string()); }

}  // namespace testing_support
