#pragma once

namespace veltrane::win32 {

// How the file layer tells a link from the file that its name stands for.
enum class LinkCheck {
  // Windows: a handle opened with FILE_OPEN_REPARSE_POINT is the link
  // itself, and the reparse attribute and link count of that one handle say
  // all; the deletion mark on it removes only the link.
  Handle,
  // Wine 8: a link opens as its target, so the path Wine holds for the handle
  // is set against the path the program expects (see ReachedIn).
  FinalPath,
};

// What tells Wine from Windows. Each is one sign alone: some Wine builds can
// hide their ntdll exports, and a prefix may lose its registry key.
struct WineSigns {
  bool versionExport = false;  // ntdll exports wine_get_version
  bool otherExports = false;   // ntdll exports wine_server_call, __wine_unix_call or wine_get_host_version
  bool registryKey = false;    // HKEY_LOCAL_MACHINE\Software\Wine exists
  bool heldPaths = false;      // a handle's object name is a drive path ("\??\C:\..."), not a device path
};

WineSigns ReadWineSigns();

// FinalPath as soon as any sign shows. The Handle check under Wine would
// write through a link to a file; the FinalPath check on Windows finds no
// drive path for any handle and so leaves every file alone.
LinkCheck ChooseLinkCheck(const WineSigns& signs);

// ChooseLinkCheck of the signs read once.
LinkCheck DetectLinkCheck();

}  // namespace veltrane::win32
