#include <cstdlib>
#include <new>

#include "platform/memory_block.h"

namespace {
// The handle points at this header; the bytes follow it.
struct BlockHeader {
  std::size_t size;
  int locks;
};
BlockHeader* header(BlockHandle block) { return static_cast<BlockHeader*>(block); }
}  // namespace

BlockHandle platformAllocateBlock(std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(-1) - sizeof(BlockHeader)) return nullptr;
  void* memory = std::calloc(1, sizeof(BlockHeader) + bytes);
  if (!memory) return nullptr;
  auto* h = new (memory) BlockHeader{bytes, 0};
  return h;
}

void freeBlock(BlockHandle block) { std::free(block); }

char* lockBlock(BlockHandle block) {
  if (!block) return nullptr;
  ++header(block)->locks;
  return reinterpret_cast<char*>(header(block) + 1);
}

void unlockBlock(BlockHandle block) {
  if (block && header(block)->locks > 0) --header(block)->locks;
}

std::size_t blockSize(BlockHandle block) { return block ? header(block)->size : 0; }
