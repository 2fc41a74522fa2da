// Counts the registry calls and file finds of one catalogue scan and its printing, for the
// plain scan and the scan of today, on the prefix's real registry. Prints per-class figures.
#include <cstdio>
#include <set>
#include <string>

#include "cli/record_line.h"
#include "bench/plain_scan.h"
#include "catalogue/registry_scan.h"
#include "platform/console_notice.h"
#include "platform/text.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

namespace {

class CountingRegistry : public Registry {
 public:
  explicit CountingRegistry(Registry& real) : real_(real) {}
  long calls = 0;
  long OpenKey(RegKey parent, const char* path, std::uint32_t access, RegKey* out) override {
    ++calls;
    return real_.OpenKey(parent, path, access, out);
  }
  long CreateKey(RegKey parent, const char* path, RegKey* out) override {
    ++calls;
    return real_.CreateKey(parent, path, out);
  }
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override {
    ++calls;
    return real_.EnumKey(key, index, name, size);
  }
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override {
    ++calls;
    return real_.EnumValue(key, index, name, name_size, type, data, data_size);
  }
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override {
    ++calls;
    return real_.QueryValue(key, name, type, data, size);
  }
  long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override {
    ++calls;
    return real_.SetValue(key, name, type, data, size);
  }
  long DeleteKey(RegKey parent, const char* path) override {
    ++calls;
    return real_.DeleteKey(parent, path);
  }
  long CloseKey(RegKey key) override {
    ++calls;
    return real_.CloseKey(key);
  }

 private:
  Registry& real_;
};

class CountingFiles : public Win32Files {
 public:
  long finds = 0;
  bool FindFile(const char* path, FoundFile* found) override {
    ++finds;
    return Win32Files::FindFile(path, found);
  }
};

struct Counts {
  long classes = 0;
  long calls = 0;
  long finds = 0;
  std::string lines;
};

template <typename Scan>
Counts Count(Scan scan) {
  Win32Registry real;
  CountingRegistry registry(real);
  CountingFiles files;
  Win32Modules modules;
  ConsoleNotice notice;
  const Platform platform{registry, files, modules, notice};
  Counts counts;
  CObjectLists lists;
  scan(platform, lists);
  counts.lines = ListLines(lists);
  counts.calls = registry.calls;
  counts.finds = files.finds;
  RegKey clsid_key = 0;
  if (real.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key) == kErrorSuccess) {
    char name[1024];
    for (std::uint32_t size = sizeof name - 1;
         real.EnumKey(clsid_key, static_cast<std::uint32_t>(counts.classes), name, &size) ==
         kErrorSuccess;
         size = sizeof name - 1)
      ++counts.classes;
    real.CloseKey(clsid_key);
  }
  return counts;
}

}  // namespace

int main() {
  const Counts plain = Count(PlainScanRegistry);
  const Counts today = Count(ScanRegistry);
  std::set<std::string> paths;
  std::size_t start = 0;
  for (std::size_t end; (end = today.lines.find('\n', start)) != std::string::npos;
       start = end + 1) {
    const std::string line = today.lines.substr(start, end - start);
    // The fourth quoted field is the server path.
    std::size_t field = 0, at = 0;
    for (int skip = 0; skip < 3 && at != std::string::npos; ++skip) at = line.find("\",\"", at) + 3;
    field = line.find("\",\"", at);
    paths.insert(ToUpper(line.substr(at, field - at)));
  }
  std::printf("classes below CLSID: %ld, distinct server paths listed: %zu\n", today.classes,
              paths.size());
  std::printf("plain scan: %.1f registry calls per class, %ld file finds\n",
              static_cast<double>(plain.calls) / plain.classes, plain.finds);
  std::printf("scan:       %.1f registry calls per class (goal <= 10), %ld file finds\n",
              static_cast<double>(today.calls) / today.classes, today.finds);
  std::printf("same lines: %s\n", plain.lines == today.lines ? "yes" : "NO");
  return plain.lines == today.lines ? 0 : 1;
}
