#pragma once

#include "owned_handle.h"
#include "win32_api.h"

// A kernel object's handle: a process, a thread, a pipe, an event. Calls that give
// INVALID_HANDLE_VALUE on failure (CreateFileW, CreateNamedPipeW) are wrapped through kernelHandle.
using OwnedKernelHandle = OwnedHandle<HANDLE, &CloseHandle>;

inline OwnedKernelHandle kernelHandle(HANDLE handle)
{
    return OwnedKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
