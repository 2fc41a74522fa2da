// The internet functions, loaded by name at run time so that the program starts on computers
// without them. Each pointer type carries the functions' WINAPI calling convention.
#pragma once
#include <windows.h>
#include <wininet.h>

class CWinInetApi {
 public:
  using AttemptConnectFn = DWORD(WINAPI*)(DWORD);
  using OpenFn = HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
  using OpenUrlFn = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR);
  using CloseHandleFn = BOOL(WINAPI*)(HINTERNET);
  using ReadFileFn = BOOL(WINAPI*)(HINTERNET, LPVOID, DWORD, LPDWORD);
  using SetFilePointerFn = DWORD(WINAPI*)(HINTERNET, LONG, PLONG, DWORD, DWORD_PTR);
  using HttpQueryInfoFn = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
  using QueryDataAvailableFn = BOOL(WINAPI*)(HINTERNET, LPDWORD, DWORD, DWORD_PTR);

  CWinInetApi() = default;
  ~CWinInetApi();
  CWinInetApi(const CWinInetApi&) = delete;
  CWinInetApi& operator=(const CWinInetApi&) = delete;

  // Loads the library and its entry points; false when any is missing.
  bool Load(const char* library);
  bool loaded() const { return read_file != nullptr; }

  // The size a URL handle will deliver: the end of its data, else the length the server
  // announced; 0 when neither is known.
  DWORD ContentLength(HINTERNET url) const;
  // The HTTP status the server answered with; 0 for a handle that has none (not HTTP).
  DWORD StatusCode(HINTERNET url) const;
  // One read of what has arrived, at most `size` bytes: it waits only until some data is
  // there, so that a slow server cannot hold the reader for long; 0 at the end of the data.
  bool ReadAvailable(HINTERNET url, char* buffer, DWORD size, DWORD* got) const;

  AttemptConnectFn attempt_connect = nullptr;
  OpenFn open = nullptr;
  OpenUrlFn open_url = nullptr;
  CloseHandleFn close_handle = nullptr;
  ReadFileFn read_file = nullptr;
  SetFilePointerFn set_file_pointer = nullptr;
  HttpQueryInfoFn http_query_info = nullptr;
  QueryDataAvailableFn query_data_available = nullptr;

 private:
  HMODULE module_ = nullptr;
};
