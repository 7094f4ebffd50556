#pragma once
// An exclusive lock file: a file that one holder at a time creates beside the
// file it guards, and removes when done. It serialises the read-compare-
// replace of a month file between programs, also on another PC when the
// folder is on a shared drive. (The month file itself cannot carry the lock:
// a save moves a new file over it.)
//
// A lock file whose holder is gone (a crash, a kill, a lost network
// session) does not block for ever: natively the holder keeps the file
// locked while it holds it and one that nobody locks is taken over at once,
// as is one older than kStaleLockSeconds; on Windows the file disappears
// with its holder's handle.
#include <cstdint>
#include <string>

constexpr int kStaleLockSeconds = 10;

enum class LockStatus {
  Taken,   // we hold the lock
  Held,    // someone else held it for the whole wait
  Failed,  // the lock file cannot be made at all (no folder, no rights)
};

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Creates `path` exclusively, waiting up to `waitMilliseconds` for another
  // holder to let go. Call on a lock that is not held.
  LockStatus acquire(const std::string& path, int waitMilliseconds);
  // Removes the lock file (when it is still ours) and lets go.
  void release();
  bool held() const { return handle_ != kNoHandle; }

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  std::string path_;
  std::intptr_t handle_ = kNoHandle;  // a descriptor natively, a HANDLE on Windows
};

// Sleeps for a short while; the lock's wait and the tests use it.
void sleepMilliseconds(int milliseconds);
