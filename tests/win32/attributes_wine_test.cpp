// Attribute texts of a real system DLL, against what kernel32 and the version API report.
#include <gtest/gtest.h>

#include <cstdio>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

TEST(AttributesOnWine, SystemDllTextsAgreeWithThePlatform) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string path = std::string(system) + "\\ole32.dll";
  ScratchClasses classes;
  classes.Set("CLSID\\{A0000000-0000-0000-0000-000000000001}\\InprocServer32", nullptr, path);
  Win32Platform win32;
  CDllServerObject record(win32.platform, "{A0000000-0000-0000-0000-000000000001}");

  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(record.GetAttribute(kAttrFileSize), std::to_string(data.nFileSizeLow) + " Bytes");
  FILETIME local;
  SYSTEMTIME fields;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &fields);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%02d/%02d/%02d %02d:%02d:%02d", fields.wMonth,
                fields.wDay, fields.wYear % 100, fields.wHour, fields.wMinute, fields.wSecond);
  EXPECT_EQ(record.GetAttribute(kAttrLastModified), expected);

  ASSERT_EQ(record.LoadVersionInfo(), 1);
  DWORD handle = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &handle) + 1);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size() - 1), block.data()));
  DWORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  char sub_block[64];
  std::snprintf(sub_block, sizeof sub_block, "\\StringFileInfo\\%04lx%04lx\\FileVersion",
                *translation & 0xFFFF, *translation >> 16);
  char* version = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), sub_block, reinterpret_cast<void**>(&version), &length));
  EXPECT_EQ(record.GetAttribute(kAttrFileVersion), version);
  EXPECT_FALSE(record.GetAttribute(kAttrFileVersion).empty());
}

}  // namespace
}  // namespace corvane
