#pragma once
// A memo: NUL-terminated Shift_JIS text in a movable, zero-initialised block,
// pinned only while it is read or written. A MemoText owns its block and
// frees it when it is replaced or destroyed. A present memo may hold the
// empty string; painting treats that like no memo.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/memory_block.h"

class MemoText {
 public:
  MemoText() = default;
  // Takes ownership of a block that holds NUL-terminated text.
  explicit MemoText(BlockHandle adopted) : block_(adopted) {}
  ~MemoText() { reset(); }
  MemoText(MemoText&& other) noexcept : block_(other.release()) {}
  MemoText& operator=(MemoText&& other) noexcept;
  MemoText(const MemoText&) = delete;
  MemoText& operator=(const MemoText&) = delete;

  // A new block holding a copy of `text` and a NUL. On a failed allocation
  // the result is absent and `*ok` (when given) is false.
  static MemoText copyOf(std::string_view text, bool* ok = nullptr);

  bool present() const { return block_ != nullptr; }
  BlockHandle handle() const { return block_; }
  // Gives the block up to the caller, leaving this memo absent.
  BlockHandle release();
  void reset();

  // A copy of the text up to its NUL (empty when absent or not lockable).
  std::string text() const;

 private:
  BlockHandle block_ = nullptr;
};

// Pins a memo's block for the lifetime of the guard.
class MemoLock {
 public:
  explicit MemoLock(const MemoText& memo);
  ~MemoLock();
  MemoLock(const MemoLock&) = delete;
  MemoLock& operator=(const MemoLock&) = delete;
  // The text, or null when the memo is absent or its block cannot be locked.
  const char* data() const { return data_; }
  // Length of the text up to its NUL, never past the block's end.
  std::size_t length() const;

 private:
  BlockHandle block_;
  const char* data_;
};
