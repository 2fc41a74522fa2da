// The values list of a key and the write-back of edits.
#include <gtest/gtest.h>

#include "mainwindow/registry_values.h"
#include "platform/memory/memory_registry.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Shown(std::uint32_t type, const Bytes& data) {
  return FormatValueData(type, data.data(), static_cast<std::uint32_t>(data.size()));
}

TEST(RegistryValues, DataColumnByType) {
  EXPECT_EQ(Shown(kRegSz, {'a', 'b', 0}), "ab");
  EXPECT_EQ(Shown(kRegExpandSz, {'%', 'X', '%', 0}), "%X%");
  EXPECT_EQ(Shown(kRegMultiSz, {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}), "one");
  EXPECT_EQ(Shown(kRegSz, {'n', 'o', 'n', 'u', 'l'}), "nonul");
  EXPECT_EQ(Shown(kRegBinary, {0x01, 0xAB}), "1 AB ");
  EXPECT_EQ(Shown(kRegBinary, {}), "");
  EXPECT_EQ(Shown(kRegDword, {10, 0, 0, 0}), "A (10)");
  EXPECT_EQ(Shown(kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}), "FFFFFFFF (-1)");
  EXPECT_EQ(Shown(kRegDword, {0x01}), "1 (1)");
  for (std::uint32_t type : {0u, 5u, 6u, 8u, 11u})
    EXPECT_EQ(Shown(type, {1, 2, 3, 4}), "Data type not supported") << type;
}

// A registry whose value reads fail once their size is known (the value grew in between), and
// whose writes can be refused (the key was deleted after it was opened).
class ChangingRegistry : public MemoryRegistry {
 public:
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override {
    if (data != nullptr && grows) return kErrorMoreData;
    return MemoryRegistry::QueryValue(key, name, type, data, size);
  }
  long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override {
    if (key_deleted) return kErrorKeyDeleted;
    return MemoryRegistry::SetValue(key, name, type, data, size);
  }
  bool grows = false;
  bool key_deleted = false;
};

class ValuesTest : public ::testing::Test {
 protected:
  ValuesTest() {
    registry.SetString(kClassesRoot, kKey, "", "C:\\x\\x.dll");
    registry.SetString(kClassesRoot, kKey, "ThreadingModel", "Apartment");
    registry.SetBytes(kClassesRoot, kKey, "Flags", kRegDword, {10, 0, 0, 0});
    registry.SetBytes(kClassesRoot, kKey, "Paths", kRegMultiSz,
                          {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0});
  }
  ListedValue Find(const std::string& name) {
    for (const auto& value : ReadKeyValues(registry, kKey))
      if (value.name == name) return value;
    ADD_FAILURE() << name;
    return {};
  }
  Bytes Stored(const std::string& name) {
    RegKey key = 0;
    registry.OpenKey(kClassesRoot, kKey.c_str(), kKeyRead, &key);
    std::uint8_t data[64];
    std::uint32_t size = sizeof data;
    long rc = registry.QueryValue(key, name.empty() ? nullptr : name.c_str(), nullptr, data, &size);
    registry.CloseKey(key);
    return rc == kErrorSuccess ? Bytes(data, data + size) : Bytes{};
  }
  // Writes the edit; the failure message, or "written".
  std::string Edit(const std::string& name, const std::string& text) {
    std::string failure;
    return WriteEditedValue(registry, kKey, Find(name), text, &failure) ? "written" : failure;
  }
  const std::string kKey = "CLSID\\{A}\\InprocServer32";
  ChangingRegistry registry;
};

TEST_F(ValuesTest, ListsNamesImagesAndTexts) {
  auto values = ReadKeyValues(registry, kKey);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].shown_name, "(Default)");
  EXPECT_EQ(values[0].data_text, "C:\\x\\x.dll");
  EXPECT_EQ(values[0].image, 2);
  EXPECT_EQ(values[1].shown_name, "ThreadingModel");
  EXPECT_EQ(values[2].data_text, "A (10)");
  EXPECT_EQ(values[2].image, 3);
  EXPECT_EQ(values[3].data_text, "one");
  EXPECT_TRUE(ReadKeyValues(registry, "CLSID\\{Missing}").empty());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(ValuesTest, AValueTooLargeIsListedBySizeAndTheListingGoesOn) {
  registry.SetString(kClassesRoot, kKey, "Big", std::string(100000, 'b'));
  registry.SetString(kClassesRoot, kKey, std::string(2000, 'N'), "a name no buffer holds");
  registry.SetBytes(kClassesRoot, kKey, "Count", kRegDword, {7, 0, 0, 0});
  auto values = ReadKeyValues(registry, kKey);
  ASSERT_EQ(values.size(), 6u);
  EXPECT_EQ(values[4].name, "Big");
  EXPECT_EQ(values[4].type, kRegSz);
  EXPECT_EQ(values[4].image, 2);
  EXPECT_TRUE(values[4].too_large);
  EXPECT_EQ(values[4].data_text, "(too large to show: 100001 bytes)");
  EXPECT_EQ(values[5].name, "Count");
  EXPECT_EQ(values[5].data_text, "7 (7)");
  EXPECT_FALSE(values[5].too_large);
  registry.SetBytes(kClassesRoot, "K", "Fits", kRegBinary, Bytes(1023, 7));
  values = ReadKeyValues(registry, "K");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_FALSE(values[0].too_large);
}

TEST_F(ValuesTest, EditsReachTheirOwnValue) {
  // A value literally named "(Default)" is not the default value.
  registry.SetString(kClassesRoot, kKey, "(Default)", "named");
  ASSERT_EQ(Edit("", "C:\\y\\y.dll"), "written");
  EXPECT_EQ(Stored(""), (Bytes{'C', ':', '\\', 'y', '\\', 'y', '.', 'd', 'l', 'l', 0}));
  EXPECT_EQ(Stored("(Default)"), (Bytes{'n', 'a', 'm', 'e', 'd', 0}));
  ASSERT_EQ(Edit("(Default)", "renamed"), "written");
  EXPECT_EQ(Stored("(Default)"), (Bytes{'r', 'e', 'n', 'a', 'm', 'e', 'd', 0}));
  EXPECT_EQ(Find("").data_text, "C:\\y\\y.dll");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(ValuesTest, MultiStringEditKeepsTheOtherStrings) {
  ASSERT_EQ(Edit("Paths", "first"), "written");
  EXPECT_EQ(Stored("Paths"), (Bytes{'f', 'i', 'r', 's', 't', 0, 't', 'w', 'o', 0, 0}));
  registry.SetBytes(kClassesRoot, kKey, "Single", kRegMultiSz, {'a', 0});
  ASSERT_EQ(Edit("Single", "b"), "written");
  EXPECT_EQ(Stored("Single"), (Bytes{'b', 0, 0}));
}

TEST_F(ValuesTest, EditedMultiStringAlwaysEndsWithTwoNulls) {
  const std::vector<std::pair<Bytes, Bytes>> cases = {
      {{'a', 0, 'b'}, {'n', 0, 'b', 0, 0}},
      {{'a', 0, 'b', 0}, {'n', 0, 'b', 0, 0}},
      {{'a'}, {'n', 0, 0}},
      {{}, {'n', 0, 0}},
      {{'a', 0, 0, 0}, {'n', 0, 0, 0}},
  };
  for (const auto& [old, written] : cases) {
    registry.SetBytes(kClassesRoot, kKey, "Open", kRegMultiSz, old);
    ASSERT_EQ(Edit("Open", "n"), "written");
    EXPECT_EQ(Stored("Open"), written) << std::string(old.begin(), old.end());
  }
}

TEST_F(ValuesTest, MultiStringWhoseOtherStringsCannotBeReadIsNotWritten) {
  const ListedValue paths = Find("Paths");
  registry.grows = true;
  std::string failure;
  EXPECT_FALSE(WriteEditedValue(registry, kKey, paths, "first", &failure));
  EXPECT_NE(failure.find("Paths"), std::string::npos) << failure;
  registry.grows = false;
  EXPECT_EQ(Stored("Paths"), (Bytes{'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}));
  // Nor when even its size can't be asked.
  registry.SetBytes(kClassesRoot, kKey, "Other", kRegMultiSz, {'a', 0, 'b', 0, 0});
  const ListedValue other = Find("Other");
  registry.FailQueryValue("HKEY_CLASSES_ROOT\\" + kKey, "Other", kErrorAccessDenied);
  EXPECT_FALSE(WriteEditedValue(registry, kKey, other, "first", &failure));
  EXPECT_EQ(Find("Other").data_text, "a");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(ValuesTest, EditsThatCannotBeWrittenAreReported) {
  const ListedValue threading = Find("ThreadingModel");
  registry.key_deleted = true;
  std::string refused;
  EXPECT_FALSE(WriteEditedValue(registry, kKey, threading, "Both", &refused));
  registry.key_deleted = false;
  EXPECT_EQ(Stored("ThreadingModel"), (Bytes{'A', 'p', 'a', 'r', 't', 'm', 'e', 'n', 't', 0}));
  registry.RefuseOpen("HKEY_CLASSES_ROOT\\" + kKey);
  std::string unopened;
  EXPECT_FALSE(WriteEditedValue(registry, kKey, threading, "Both", &unopened));
  for (const std::string& failure : {refused, unopened})
    EXPECT_EQ(failure.rfind("ThreadingModel was not changed: ", 0), 0u) << failure;
  EXPECT_NE(refused, unopened);
  EXPECT_EQ(NotAStringMessage("Flags"),
            "Only string values can be edited by Corvane (REG_SZ, REG_MULTI_SZ, REG_EXPAND_SZ).\n\n"
            "Flags is not a string.");
}

}  // namespace
}  // namespace corvane
