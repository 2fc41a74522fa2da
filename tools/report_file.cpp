#include "tools/report_file.h"

#include <windows.h>

#include "framework/win_app.h"
#include "platform/win32/text_file_mark.h"
#include "tools/inventory_report.h"
#include "tools/report_page.h"

namespace {

std::string WithName(const char* pattern, const std::string& file) {
  std::string text = pattern;
  const std::size_t at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, file.empty() ? "an unnamed file" : file);
  return text;
}

}  // namespace

std::string FileErrorText(unsigned long error, const std::string& file) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return WithName("%1 was not found.", file);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return WithName("%1 contains an invalid path.", file);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return WithName("Access to %1 was denied.", file);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return WithName("Sharing violation accessing %1.", file);
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return WithName("%1 already exists.", file);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WithName("Disk full while accessing %1.", file);
    default:
      return WithName("An unexpected error occurred while accessing %1.", file);
  }
}

std::string NewTemporaryReportFile() {
  char folder[MAX_PATH] = "";
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) {
    AppMessageBox("The report was not written: the temporary folder could not be found.",
                  MB_OK | MB_ICONSTOP);
    return std::string();
  }
  char file[MAX_PATH] = "";
  if (GetTempFileNameA(folder, "com", 0, file) == 0) {
    const DWORD error = GetLastError();
    AppMessageBox("The report was not written: no temporary file could be made in the folder " +
                      std::string(folder) + "\n\n" + FileErrorText(error, folder),
                  MB_OK | MB_ICONSTOP);
    return std::string();
  }
  return file;
}

bool WriteReportFile(const std::string& temporary, const char* extension,
                     const std::string& text, std::string* report_path) {
  const std::string path = temporary + extension;
  report_path->clear();
  if (!MoveFileA(temporary.c_str(), path.c_str())) {
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    AppMessageBox(FileErrorText(error, path), MB_OK | MB_ICONSTOP);
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD error = GetLastError();
  bool written = false;
  if (file != INVALID_HANDLE_VALUE) {
    const std::string bytes = corvane::TextFileMark() + corvane::ToCrLf(text);
    DWORD count = 0;
    written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
              count == bytes.size();
    if (!written) error = GetLastError();
    if (!CloseHandle(file) && written) {
      written = false;
      error = GetLastError();
    }
  }
  if (!written) {
    DeleteFileA(path.c_str());
    AppMessageBox(FileErrorText(error, path), MB_OK | MB_ICONSTOP);
    return false;
  }
  *report_path = path;
  return true;
}

std::string CurrentDirectoryText() {
  char folder[MAX_PATH] = "";
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  return length > 0 && length < MAX_PATH ? std::string(folder) : std::string();
}
