#pragma once
// Movable, zero-initialised memory blocks: GlobalAlloc(GMEM_MOVEABLE |
// GMEM_ZEROINIT) on Windows, a heap block of our own natively. Memo texts
// live in such blocks so that edit controls and the clipboard can take them.
#include <cstddef>

using BlockHandle = void*;

// A new block of `bytes` zero bytes, or null when memory is short.
BlockHandle allocateBlock(std::size_t bytes);
// Frees a block; null is ignored.
void freeBlock(BlockHandle block);
// Pins the block and returns its bytes, or null for a null or bad handle.
// Every successful lock is paired with one unlockBlock.
char* lockBlock(BlockHandle block);
void unlockBlock(BlockHandle block);
// The size the block was allocated with (0 for null).
std::size_t blockSize(BlockHandle block);

// Test seam: after `allowed` more successful allocations every allocation
// fails, until called again with a negative value (no limit).
void limitBlockAllocationsForTests(int allowed);

// The platform halves behind allocateBlock and freeBlock.
BlockHandle platformAllocateBlock(std::size_t bytes);
