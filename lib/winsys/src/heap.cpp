// The process heap: the C library's allocator.
#include "emul.h"

#include <malloc.h>

using namespace winsys;

namespace {
// Stands for the heap; nothing is ever allocated through it directly.
char s_ProcessHeap;
}  // namespace

HANDLE WINAPI GetProcessHeap(void)
{
    return &s_ProcessHeap;
}

// Windows coalesces the free blocks and decommits the large ones; here the
// allocator hands its free pages back to the system. The answer is the
// free space left in the heap, which bounds the largest free block Windows
// reports.
SIZE_T WINAPI HeapCompact(HANDLE hHeap, DWORD dwFlags)
{
    (void)dwFlags;
    if (hHeap != &s_ProcessHeap)
        return Fail(ERROR_INVALID_HANDLE, SIZE_T(0));
    malloc_trim(0);
    SetLastError(NO_ERROR);
    return SIZE_T(mallinfo2().fordblks);
}
