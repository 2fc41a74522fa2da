#include "tests/win32/scratch_classes.h"

#include <gtest/gtest.h>

namespace corvane {

namespace {

const char kScratchKey[] = "Software\\CorvaneTest\\Classes";

void RemoveFolder(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolder(child);
      else
        DeleteFileA(child.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string FixturePath(const char* name) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string relative = exe;
  relative.erase(relative.find_last_of('\\') + 1);
  relative += std::string("..\\fixtures\\") + name;
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full) : relative;
}

void DeleteRegistryTree(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[1024];
  DWORD size = sizeof name;
  while (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    DeleteRegistryTree(key, name);
    size = sizeof name;
  }
  RegCloseKey(key);
  RegDeleteKeyA(root, path);
}

bool RegistryKeyExists(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

ScratchRedirect::ScratchRedirect(HKEY predefined, const char* scratch, const char* removed)
    : predefined_(predefined), removed_(removed) {
  DeleteRegistryTree(HKEY_CURRENT_USER, scratch);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &scratch_, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegOverridePredefKey(predefined_, scratch_), ERROR_SUCCESS);
}

ScratchRedirect::~ScratchRedirect() {
  RegOverridePredefKey(predefined_, nullptr);
  if (scratch_ != nullptr) RegCloseKey(scratch_);
  DeleteRegistryTree(HKEY_CURRENT_USER, removed_.c_str());
}

ScratchClasses::ScratchClasses()
    : redirect_(HKEY_CLASSES_ROOT, kScratchKey, "Software\\CorvaneTest") {}

ScratchClasses::~ScratchClasses() = default;

void ScratchClasses::Set(const std::string& path, const char* name, const std::string& value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(redirect_.key(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS)
      << path;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

void ScratchClasses::AddKey(const std::string& path) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(redirect_.key(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

bool ScratchClasses::Exists(const std::string& path) const {
  HKEY key;
  if (RegOpenKeyExA(redirect_.key(), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

ScratchFolder::ScratchFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + name;
  RemoveFolder(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveFolder(path_); }

std::string ScratchFolder::AddFile(const std::string& relative_path) {
  const std::string full = path_ + "\\" + relative_path;
  for (std::size_t slash = full.find('\\', path_.size() + 1); slash != std::string::npos;
       slash = full.find('\\', slash + 1))
    CreateDirectoryA(full.substr(0, slash).c_str(), nullptr);
  HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << full;
  CloseHandle(file);
  return full;
}

}  // namespace corvane
