#include "calendar/memo_text.h"

#include <cstring>

MemoText& MemoText::operator=(MemoText&& other) noexcept {
  if (this != &other) {
    reset();
    block_ = other.release();
  }
  return *this;
}

MemoText MemoText::copyOf(std::string_view text, bool* ok) {
  BlockHandle block = allocateBlock(text.size() + 1);
  char* bytes = lockBlock(block);
  if (!bytes) {
    freeBlock(block);
    if (ok) *ok = false;
    return MemoText();
  }
  if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  unlockBlock(block);
  if (ok) *ok = true;
  return MemoText(block);
}

BlockHandle MemoText::release() {
  BlockHandle block = block_;
  block_ = nullptr;
  return block;
}

void MemoText::reset() {
  freeBlock(block_);
  block_ = nullptr;
}

std::string MemoText::text() const {
  MemoLock lock(*this);
  return lock.data() ? std::string(lock.data(), lock.length()) : std::string();
}

MemoLock::MemoLock(const MemoText& memo)
    : block_(memo.handle()), data_(lockBlock(memo.handle())) {}

MemoLock::~MemoLock() {
  if (data_) unlockBlock(block_);
}

std::size_t MemoLock::length() const {
  if (!data_) return 0;
  const void* end = std::memchr(data_, '\0', blockSize(block_));
  return end ? static_cast<std::size_t>(static_cast<const char*>(end) - data_) : blockSize(block_);
}
