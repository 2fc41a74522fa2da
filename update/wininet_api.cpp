#include "update/wininet_api.h"

namespace {

template <class Fn>
bool Find(HMODULE module, const char* name, Fn* out) {
  *out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *out != nullptr;
}

}  // namespace

CWinInetApi::~CWinInetApi() {
  if (module_ != nullptr) FreeLibrary(module_);
}

bool CWinInetApi::Load(const char* library) {
  module_ = LoadLibraryA(library);
  if (module_ == nullptr) return false;
  if (!Find(module_, "InternetAttemptConnect", &attempt_connect) ||
      !Find(module_, "InternetOpenA", &open) || !Find(module_, "InternetOpenUrlA", &open_url) ||
      !Find(module_, "InternetCloseHandle", &close_handle) ||
      !Find(module_, "InternetReadFile", &read_file) ||
      !Find(module_, "InternetSetFilePointer", &set_file_pointer) ||
      !Find(module_, "HttpQueryInfoA", &http_query_info) ||
      !Find(module_, "InternetQueryDataAvailable", &query_data_available)) {
    read_file = nullptr;
    return false;
  }
  return true;
}

DWORD CWinInetApi::ContentLength(HINTERNET url) const {
  const DWORD end = set_file_pointer(url, 0, nullptr, FILE_END, 0);
  set_file_pointer(url, 0, nullptr, FILE_BEGIN, 0);
  if (end != INVALID_SET_FILE_POINTER) return end;
  DWORD length = 0;
  DWORD size = sizeof length;
  if (http_query_info(url, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size,
                      nullptr)) {
    return length;
  }
  return 0;
}

DWORD CWinInetApi::StatusCode(HINTERNET url) const {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!http_query_info(url, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                       nullptr)) {
    return 0;
  }
  return status;
}

bool CWinInetApi::ReadAvailable(HINTERNET url, char* buffer, DWORD size, DWORD* got) const {
  *got = 0;
  DWORD available = 0;
  if (!query_data_available(url, &available, 0, 0)) return false;
  if (available == 0) return true;
  return read_file(url, buffer, available < size ? available : size, got) != FALSE;
}
