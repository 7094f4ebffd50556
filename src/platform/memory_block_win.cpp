#include <windows.h>

#include "platform/memory_block.h"

BlockHandle platformAllocateBlock(std::size_t bytes) {
  return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes == 0 ? 1 : bytes);
}

void freeBlock(BlockHandle block) {
  if (block) GlobalFree(block);
}

char* lockBlock(BlockHandle block) {
  return block ? static_cast<char*>(GlobalLock(block)) : nullptr;
}

void unlockBlock(BlockHandle block) {
  if (block) GlobalUnlock(block);
}

std::size_t blockSize(BlockHandle block) { return block ? GlobalSize(block) : 0; }
