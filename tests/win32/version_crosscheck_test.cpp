// The portable version-resource reader answers as the real version API does, on every DLL of
// the prefix's system folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/version_resource.h"

namespace corvane {
namespace {

const char* const kKeys[] = {"FileDescription", "CompanyName",      "FileVersion", "InternalName",
                             "LegalCopyright",  "OriginalFilename", "ProductName", "ProductVersion"};

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  bytes->resize(size);
  DWORD read = 0;
  bool ok = size == 0 || (ReadFile(file, bytes->data(), size, &read, nullptr) && read == size);
  CloseHandle(file);
  return ok;
}

std::string SubBlock(std::uint32_t translation, const char* key) {
  char path[128];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s",
                static_cast<unsigned>(translation & 0xFFFF), static_cast<unsigned>(translation >> 16),
                key);
  return path;
}

TEST(VersionCrossCheck, PortableReaderAgreesWithTheVersionApiOnSystemDlls) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((std::string(system) + "\\*.dll").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int files = 0, with_version = 0, strings = 0;
  do {
    const std::string path = std::string(system) + "\\" + found.cFileName;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, &bytes)) continue;
    ++files;

    // The real API.
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    std::vector<char> api_block(size + 1);
    bool api_ok = size != 0 && GetFileVersionInfoA(path.c_str(), 0, size, api_block.data());
    void* value = nullptr;
    UINT length = 0;
    api_ok = api_ok && VerQueryValueA(api_block.data(), "\\VarFileInfo\\Translation", &value, &length) &&
             length >= 4;
    const std::uint32_t api_translation = api_ok ? *static_cast<std::uint32_t*>(value) : 0;

    // The portable reader.
    std::vector<std::uint8_t> block;
    std::uint32_t translation = 0;
    bool ok = ExtractVersionResource(bytes.data(), bytes.size(), &block) &&
              QueryVersionTranslation(block, &translation);

    ASSERT_EQ(ok, api_ok) << path;
    if (!ok) continue;
    ++with_version;
    EXPECT_EQ(translation, api_translation) << path;
    for (const char* key : kKeys) {
      const std::string sub_block = SubBlock(api_translation, key);
      std::string text;
      const bool have = QueryVersionString(block, sub_block, &text);
      char* api_text = nullptr;
      UINT api_length = 0;
      const bool api_have =
          VerQueryValueA(api_block.data(), sub_block.c_str(), reinterpret_cast<void**>(&api_text),
                         &api_length) != 0;
      EXPECT_EQ(have, api_have) << path << " " << sub_block;
      if (have && api_have) {
        EXPECT_EQ(text, std::string(api_text)) << path << " " << sub_block;
        ++strings;
      }
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
  std::printf("checked %d files, %d with version resources, %d strings\n", files, with_version,
              strings);
  EXPECT_GT(with_version, 150);
}

}  // namespace
}  // namespace corvane
