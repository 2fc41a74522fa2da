#include "platform/win32/win32_network.h"

#include <windows.h>
#include <shlobj.h>
#include <winnetwk.h>

namespace corvane {

namespace {

std::string Copy(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

char* Pointer(const std::string& text) {
  return text.empty() ? nullptr : const_cast<char*>(text.c_str());
}

// Hands an item identifier back to the shell's allocator.
void FreeItem(LPITEMIDLIST item) {
  if (item == nullptr) return;
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
    allocator->Free(item);
    allocator->Release();
  }
}

}  // namespace

long Win32Network::OpenEnum(const NetResource* container, Enumeration* out) {
  NETRESOURCEA resource = {};
  if (container != nullptr) {
    resource.dwScope = container->scope;
    resource.dwType = container->type;
    resource.dwDisplayType = container->display_type;
    resource.dwUsage = container->usage;
    resource.lpLocalName = Pointer(container->local_name);
    resource.lpRemoteName = Pointer(container->remote_name);
    resource.lpComment = Pointer(container->comment);
    resource.lpProvider = Pointer(container->provider);
  }
  HANDLE handle = nullptr;
  DWORD rc = WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0,
                           container != nullptr ? &resource : nullptr, &handle);
  if (rc == NO_ERROR) *out = reinterpret_cast<Enumeration>(handle);
  return static_cast<long>(rc);
}

long Win32Network::EnumResource(Enumeration enumeration, std::uint32_t* count,
                                std::uint32_t buffer_size, std::vector<NetResource>* entries) {
  // NETRESOURCEA entries hold pointers into the same buffer, so it is aligned for them.
  std::vector<NETRESOURCEA> buffer(buffer_size / sizeof(NETRESOURCEA) + 1);
  DWORD wanted = *count;
  DWORD size = buffer_size;
  DWORD rc = WNetEnumResourceA(reinterpret_cast<HANDLE>(enumeration), &wanted, buffer.data(),
                               &size);
  if (rc != NO_ERROR) return static_cast<long>(rc);
  *count = wanted;
  for (DWORD i = 0; i < wanted && i < buffer.size(); ++i) {
    const NETRESOURCEA& entry = buffer[i];
    NetResource copy;
    copy.scope = entry.dwScope;
    copy.type = entry.dwType;
    copy.display_type = entry.dwDisplayType;
    copy.usage = entry.dwUsage;
    copy.local_name = Copy(entry.lpLocalName);
    copy.remote_name = Copy(entry.lpRemoteName);
    copy.comment = Copy(entry.lpComment);
    copy.provider = Copy(entry.lpProvider);
    entries->push_back(std::move(copy));
  }
  return NO_ERROR;
}

long Win32Network::CloseEnum(Enumeration enumeration) {
  return static_cast<long>(WNetCloseEnum(reinterpret_cast<HANDLE>(enumeration)));
}

bool Win32Network::BrowseForComputer(std::uintptr_t owner, const std::string& title,
                                     std::string* name) {
  HWND window = reinterpret_cast<HWND>(owner);
  LPITEMIDLIST root = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(window, CSIDL_NETWORK, &root)) || root == nullptr)
    return false;
  char display[MAX_PATH] = "";
  BROWSEINFOA browse = {};
  browse.hwndOwner = window;
  browse.pidlRoot = root;
  browse.pszDisplayName = display;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_BROWSEFORCOMPUTER;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
  FreeItem(root);
  if (chosen == nullptr) return false;
  FreeItem(chosen);
  *name = display;
  return true;
}

}  // namespace corvane
