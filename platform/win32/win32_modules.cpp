#include "platform/win32/win32_modules.h"

#include <windows.h>
#include <winternl.h>

#include <cstring>

namespace corvane {

namespace {

HMODULE ToHmodule(ModuleHandle module) { return reinterpret_cast<HMODULE>(module); }

// Where the process environment block keeps the loader's API set namespace: the field after
// the fast-PEB-lock pointers, at 0x38 in a 32-bit process and 0x68 in a 64-bit one. Every
// process's loader reads its contracts from there, Windows 10 and Wine alike.
constexpr std::size_t kApiSetMapOffset = sizeof(void*) == 8 ? 0x68 : 0x38;
constexpr std::uint32_t kSchemaVersion = 6;
constexpr std::uint32_t kMaxSchemaSize = 16u << 20;

// Bytes readable from address on, within its committed region.
std::size_t ReadableFrom(const void* address) {
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(address, &info, sizeof(info)) != sizeof(info) || info.State != MEM_COMMIT ||
      (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) {
    return 0;
  }
  const auto* start = static_cast<const std::uint8_t*>(address);
  return static_cast<std::size_t>(static_cast<const std::uint8_t*>(info.BaseAddress) +
                                  info.RegionSize - start);
}

// The file of a module, empty when the name doesn't fit.
std::string ModulePath(HMODULE module) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

bool IsBareName(const char* name) {
  return name != nullptr && *name != '\0' && std::strpbrk(name, "\\/:") == nullptr;
}

// Maps the DLL as the loader finds it, without DllMain and without its own imports, and
// lets it go at once: only where it lives is wanted.
std::string MapAndRelease(const char* name) {
  HMODULE module = LoadLibraryExA(name, nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (module == nullptr) return std::string();
  std::string path = ModulePath(module);
  FreeLibrary(module);
  return path;
}

// The activation context of a DLL's own manifest (resource 2, then 1), else of the
// .manifest file beside it; INVALID_HANDLE_VALUE when it has none.
HANDLE ImporterContext(const std::string& importer) {
  const std::size_t separator = importer.find_last_of("\\/");
  const std::string folder =
      separator == std::string::npos ? std::string() : importer.substr(0, separator + 1);
  const std::string beside = importer + ".manifest";
  for (ULONG_PTR resource : {ULONG_PTR{2}, ULONG_PTR{1}, ULONG_PTR{0}}) {
    ACTCTXA context = {};
    context.cbSize = sizeof(context);
    context.lpSource = resource != 0 ? importer.c_str() : beside.c_str();
    if (resource != 0) {
      context.dwFlags |= ACTCTX_FLAG_RESOURCE_NAME_VALID;
      context.lpResourceName = MAKEINTRESOURCEA(resource);
    }
    if (!folder.empty()) {
      context.dwFlags |= ACTCTX_FLAG_ASSEMBLY_DIRECTORY_VALID;
      context.lpAssemblyDirectory = folder.c_str();
    }
    HANDLE handle = CreateActCtxA(&context);
    if (handle != INVALID_HANDLE_VALUE) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

// The process environment block, through NtQueryInformationProcess's basic information.
const std::uint8_t* ProcessEnvironmentBlock() {
  using QueryFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic = {};
  if (query == nullptr ||
      query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) < 0) {
    return nullptr;
  }
  return reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
}

}  // namespace

std::vector<std::uint8_t> Win32Modules::ApiSetSchema() {
  const std::uint8_t* peb = ProcessEnvironmentBlock();
  if (peb == nullptr) return {};
  const std::uint8_t* map = nullptr;
  std::memcpy(&map, peb + kApiSetMapOffset, sizeof(map));
  if (map == nullptr) return {};
  const std::size_t readable = ReadableFrom(map);
  if (readable < 8) return {};
  std::uint32_t version = 0;
  std::uint32_t size = 0;
  std::memcpy(&version, map, 4);
  std::memcpy(&size, map + 4, 4);
  // Other layouts (Windows 7 and 8) are left to the loader step, which resolves them too.
  if (version != kSchemaVersion || size > kMaxSchemaSize) return {};
  return std::vector<std::uint8_t>(map, map + (size < readable ? size : readable));
}

std::string Win32Modules::FindInAssembly(const char* importer, const char* name) {
  if (!IsBareName(name)) return std::string();
  HANDLE context = ImporterContext(importer);
  if (context == INVALID_HANDLE_VALUE) return std::string();
  std::string path;
  ULONG_PTR cookie = 0;
  if (ActivateActCtx(context, &cookie)) {
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof(data);
    if (FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name,
                                 &data)) {
      // The search follows the active context's redirection without mapping anything, so
      // it answers for an importer of the other bitness too; the loader is asked after it.
      char found[MAX_PATH] = {};
      const DWORD length = SearchPathA(nullptr, name, nullptr, MAX_PATH, found, nullptr);
      path = length > 0 && length < MAX_PATH ? std::string(found, length) : MapAndRelease(name);
    }
    DeactivateActCtx(0, cookie);
  }
  ReleaseActCtx(context);
  return path;
}

std::string Win32Modules::FindWithLoader(const char* name) {
  return IsBareName(name) ? MapAndRelease(name) : std::string();
}


ModuleHandle Win32Modules::Load(const char* path) {
  return reinterpret_cast<ModuleHandle>(LoadLibraryA(path));
}

bool Win32Modules::HasExport(ModuleHandle module, const char* name) {
  return GetProcAddress(ToHmodule(module), name) != nullptr;
}

bool Win32Modules::CallExport(ModuleHandle module, const char* name, long* result) {
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(
      reinterpret_cast<void*>(GetProcAddress(ToHmodule(module), name)));
  if (entry == nullptr) return false;
  *result = entry();
  return true;
}

void Win32Modules::Free(ModuleHandle module) { FreeLibrary(ToHmodule(module)); }

}  // namespace corvane
