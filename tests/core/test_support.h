#pragma once
// Helpers shared by the test programs of both targets.
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // path() joined with `name` by the platform's separator.
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
void setReadOnly(const std::string& path, bool readOnly);
std::vector<std::string> listDirectory(const std::string& path);
// True when a temporary of a safe save is left in the directory of `path`.
bool temporaryLeftBeside(const std::string& path);

// Holds an existing file open the way a save in progress holds its
// temporary (locked natively, shared for reading only on Windows) while
// alive.
class HeldLikeASave {
 public:
  explicit HeldLikeASave(const std::string& path);
  ~HeldLikeASave();
  HeldLikeASave(const HeldLikeASave&) = delete;
  HeldLikeASave& operator=(const HeldLikeASave&) = delete;
  bool held() const { return held_; }

 private:
  bool held_ = false;
  void* handle_ = nullptr;
  int fd_ = -1;
};

// A device context of the screen, for code that makes bitmaps (null
// natively, where pictures stay decoded).
void* screenDeviceContext();

// Collects the warnings the program would show in message boxes.
class WarningCapture {
 public:
  WarningCapture();
  ~WarningCapture();
  const std::vector<std::string>& messages() const;
};

// Points the settings file at `path` while alive.
class SettingsFileOverride {
 public:
  explicit SettingsFileOverride(const std::string& path);
  ~SettingsFileOverride();
};

}  // namespace testing_support
