// The values list of a key and the write-back of edits.
#include <gtest/gtest.h>

#include "mainwindow/registry_values.h"
#include "tests/unit/memory_platform.h"

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

class ValuesTest : public ::testing::Test {
 protected:
  ValuesTest() {
    env.registry.SetString(kClassesRoot, kKey, "", "C:\\x\\x.dll");
    env.registry.SetString(kClassesRoot, kKey, "ThreadingModel", "Apartment");
    env.registry.SetBytes(kClassesRoot, kKey, "Flags", kRegDword, {10, 0, 0, 0});
    env.registry.SetBytes(kClassesRoot, kKey, "Paths", kRegMultiSz,
                          {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0});
  }
  ListedValue Find(const std::string& name) {
    for (const auto& value : ReadKeyValues(env.registry, kKey))
      if (value.name == name) return value;
    ADD_FAILURE() << name;
    return {};
  }
  Bytes Stored(const std::string& name) {
    RegKey key = 0;
    env.registry.OpenKey(kClassesRoot, kKey.c_str(), kKeyRead, &key);
    std::uint8_t data[64];
    std::uint32_t size = sizeof data;
    long rc = env.registry.QueryValue(key, name.empty() ? nullptr : name.c_str(), nullptr, data, &size);
    env.registry.CloseKey(key);
    return rc == kErrorSuccess ? Bytes(data, data + size) : Bytes{};
  }
  const std::string kKey = "CLSID\\{A}\\InprocServer32";
  MemoryPlatform env;
};

TEST_F(ValuesTest, ListsNamesImagesAndTexts) {
  auto values = ReadKeyValues(env.registry, kKey);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].shown_name, "(Default)");
  EXPECT_EQ(values[0].data_text, "C:\\x\\x.dll");
  EXPECT_EQ(values[0].image, 2);
  EXPECT_EQ(values[1].shown_name, "ThreadingModel");
  EXPECT_EQ(values[2].data_text, "A (10)");
  EXPECT_EQ(values[2].image, 3);
  EXPECT_EQ(values[3].data_text, "one");
  EXPECT_TRUE(ReadKeyValues(env.registry, "CLSID\\{Missing}").empty());
  EXPECT_EQ(env.registry.OpenHandleCount(), 0u);
}

TEST_F(ValuesTest, AValueTooLargeEndsTheListing) {
  env.registry.SetBytes(kClassesRoot, kKey, "Big", kRegBinary, Bytes(1024, 7));
  env.registry.SetString(kClassesRoot, kKey, "After", "later");
  auto values = ReadKeyValues(env.registry, kKey);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values.back().name, "Paths");
  env.registry.SetBytes(kClassesRoot, "K", "Fits", kRegBinary, Bytes(1023, 7));
  EXPECT_EQ(ReadKeyValues(env.registry, "K").size(), 1u);
}

TEST_F(ValuesTest, EditsReachTheirOwnValue) {
  // A value literally named "(Default)" is not the default value.
  env.registry.SetString(kClassesRoot, kKey, "(Default)", "named");
  ASSERT_TRUE(WriteEditedValue(env.registry, kKey, Find(""), "C:\\y\\y.dll"));
  EXPECT_EQ(Stored(""), (Bytes{'C', ':', '\\', 'y', '\\', 'y', '.', 'd', 'l', 'l', 0}));
  EXPECT_EQ(Stored("(Default)"), (Bytes{'n', 'a', 'm', 'e', 'd', 0}));
  ASSERT_TRUE(WriteEditedValue(env.registry, kKey, Find("(Default)"), "renamed"));
  EXPECT_EQ(Stored("(Default)"), (Bytes{'r', 'e', 'n', 'a', 'm', 'e', 'd', 0}));
  EXPECT_EQ(Find("").data_text, "C:\\y\\y.dll");
  EXPECT_EQ(env.registry.OpenHandleCount(), 0u);
}

TEST_F(ValuesTest, MultiStringEditKeepsTheOtherStrings) {
  ASSERT_TRUE(WriteEditedValue(env.registry, kKey, Find("Paths"), "first"));
  EXPECT_EQ(Stored("Paths"), (Bytes{'f', 'i', 'r', 's', 't', 0, 't', 'w', 'o', 0, 0}));
  env.registry.SetBytes(kClassesRoot, kKey, "Single", kRegMultiSz, {'a', 0});
  ASSERT_TRUE(WriteEditedValue(env.registry, kKey, Find("Single"), "b"));
  EXPECT_EQ(Stored("Single"), (Bytes{'b', 0, 0}));
}

TEST_F(ValuesTest, KeyThatRefusesWritingChangesNothing) {
  const ListedValue threading = Find("ThreadingModel");
  env.registry.RefuseOpen("HKEY_CLASSES_ROOT\\" + kKey);
  EXPECT_FALSE(WriteEditedValue(env.registry, kKey, threading, "Both"));
  EXPECT_EQ(NotAStringMessage("Flags"),
            "Only string values can be edited by Corvane (REG_SZ, REG_MULTI_SZ, REG_EXPAND_SZ).\n\n"
            "Flags is not a string.");
}

}  // namespace
}  // namespace corvane
