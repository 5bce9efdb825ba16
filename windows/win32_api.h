#pragma once

// The Windows headers as every file of the Windows program takes them: wide functions, no min/max
// macros, and no `MessageBox` macro, which would rename the shared `MessageBox` interface in the
// files that see it and so break the link with the logic, which does not. windows.h goes first:
// the others need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#undef MessageBox
