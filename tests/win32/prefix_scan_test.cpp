// The catalogue of the prefix's own registry, checked against the class rules worked out here
// with other calls: its own key enumeration, and file checks by attributes instead of finds.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "catalogue/registry_scan.h"
#include "tests/win32/scratch_classes.h"

namespace corvane {
namespace {

using Entry = std::tuple<int, std::string, int>;  // category, CLSID, exists

bool Opens(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string DefaultValue(HKEY root, const std::string& path) {
  char value[1024] = {};
  LONG size = sizeof value - 1;
  if (RegQueryValueA(root, path.c_str(), value, &size) != ERROR_SUCCESS) return "";
  return value;
}

bool Present(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ExpectedExists(std::string path) {
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  if (!path.empty() && path.back() == '"') path.pop_back();
  if (path.find('%') != std::string::npos) {
    char expanded[260];
    DWORD n = ExpandEnvironmentStringsA(path.c_str(), expanded, 259);
    if (n > 0 && n <= 259) path = expanded;
  }
  for (;;) {
    if (Present(path)) return 1;
    std::size_t blank = path.rfind(' ');
    if (blank == std::string::npos) break;
    path.erase(blank);
  }
  return path.find('\\') == std::string::npos ? 1 : 0;
}

bool NamesADll(const std::string& value) {
  if (value.size() <= 3) return value == "DLL";
  std::string suffix = value.substr(value.size() - 3);
  CharUpperA(&suffix[0]);
  return suffix == "DLL";
}

std::vector<Entry> ExpectedCatalogue() {
  std::vector<Entry> lists[3];
  HKEY clsid_key;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &clsid_key), ERROR_SUCCESS);
  char name[256];
  DWORD size = sizeof name;
  for (DWORD i = 0; RegEnumKeyExA(clsid_key, i, name, &size, nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS;
       ++i, size = sizeof name) {
    const std::string clsid = name;
    if (clsid.size() > 62 || !Opens(clsid_key, clsid + "\\ProgID")) continue;
    const std::string inproc = DefaultValue(clsid_key, clsid + "\\InprocServer32");
    if (Opens(clsid_key, clsid + "\\Control")) {
      lists[0].emplace_back(0, clsid, ExpectedExists(inproc));
    } else if (Opens(clsid_key, clsid + "\\LocalServer32")) {
      lists[2].emplace_back(2, clsid,
                            ExpectedExists(DefaultValue(clsid_key, clsid + "\\LocalServer32")));
    }
    if (Opens(clsid_key, clsid + "\\InprocServer32") && inproc.size() < 259 && NamesADll(inproc))
      lists[1].emplace_back(1, clsid, ExpectedExists(inproc));
  }
  RegCloseKey(clsid_key);
  std::vector<Entry> all;
  for (auto& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

TEST(PrefixScan, EveryRecordFollowsTheClassRules) {
  Win32Platform win32;
  CObjectLists lists;
  ScanRegistry(win32.platform, lists);
  std::vector<Entry> scanned;
  for (int category = 0; category < kCategoryCount; ++category)
    for (const auto& record : lists.list(static_cast<Category>(category)))
      scanned.emplace_back(category, record->clsid(), record->exists());

  const std::vector<Entry> expected = ExpectedCatalogue();
  EXPECT_GT(expected.size(), 100u);
  ASSERT_EQ(scanned.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(scanned[i], expected[i]) << i;
  EXPECT_FALSE(lists.list(kDllServers).empty());
  EXPECT_EQ(win32.notice.cursor_depth, 0);
}

}  // namespace
}  // namespace corvane
