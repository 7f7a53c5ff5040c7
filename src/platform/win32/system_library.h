#pragma once
#include <windows.h>

#include "platform/win32/handles.h"

namespace veltrane::win32 {

// Windows looks for a DLL named without a path in the exe's own folder
// before the system's, so a DLL of that name left beside the exe (in a
// Downloads folder, say) would run inside the program. Only the DLLs Windows
// always takes from the system (KnownDLLs) are imported; every other one is
// loaded from the system folder by its full path.

// Asks Windows to take the DLLs the system loads for the program from the
// system folder only, where it offers that (Windows 8 on, Windows 7 with its
// update KB2533623), and takes the current folder out of the search.
void KeepDllSearchInSystemFolder();

// `name` ("comctl32.dll") loaded from the system folder; none when it is not there.
ModuleHandle LoadSystemLibrary(const wchar_t* name);

}  // namespace veltrane::win32
