#include "platform/win32/opened_file.h"

namespace veltrane::win32 {

std::optional<OpenedInfo> QueryOpened(HANDLE h) {
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (!GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard))
    return std::nullopt;
  return OpenedInfo{basic.FileAttributes, standard.NumberOfLinks, standard.DeletePending != FALSE};
}

bool MarkForDeletion(HANDLE h) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) !=
         FALSE;
}

}  // namespace veltrane::win32
