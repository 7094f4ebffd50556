#include "platform/memory_block.h"

namespace {
int allocationsLeft = -1;  // negative: no limit
}

void limitBlockAllocationsForTests(int allowed) { allocationsLeft = allowed; }

BlockHandle allocateBlock(std::size_t bytes) {
  if (allocationsLeft == 0) return nullptr;
  BlockHandle block = platformAllocateBlock(bytes);
  if (block && allocationsLeft > 0) --allocationsLeft;
  return block;
}
