#include "tests/contract/registry_contract.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace corvane {

namespace {

RegKey Create(Registry& registry, RegKey parent, const char* path) {
  RegKey key = 0;
  EXPECT_EQ(registry.CreateKey(parent, path, &key), kErrorSuccess) << path;
  return key;
}

void SetText(Registry& registry, RegKey key, const char* name, const std::string& text) {
  EXPECT_EQ(registry.SetValue(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                              static_cast<std::uint32_t>(text.size() + 1)),
            kErrorSuccess);
}

}  // namespace

void CheckRegistryContract(Registry& registry, RegKey scratch) {
  // Keys: created with their parents, opened case-blind, enumerated in creation order here.
  registry.CloseKey(Create(registry, scratch, "Alpha\\Inner"));
  registry.CloseKey(Create(registry, scratch, "Beta"));
  RegKey opened = 0;
  ASSERT_EQ(registry.OpenKey(scratch, "ALPHA\\inner", kKeyRead, &opened), kErrorSuccess);
  registry.CloseKey(opened);
  EXPECT_EQ(registry.OpenKey(scratch, "Gamma", kKeyRead, &opened), kErrorFileNotFound);

  char name[64];
  std::uint32_t size = sizeof name;
  ASSERT_EQ(registry.EnumKey(scratch, 0, name, &size), kErrorSuccess);
  EXPECT_STREQ(name, "Alpha");
  EXPECT_EQ(size, 5u);
  size = sizeof name;
  ASSERT_EQ(registry.EnumKey(scratch, 1, name, &size), kErrorSuccess);
  EXPECT_STREQ(name, "Beta");
  size = sizeof name;
  EXPECT_EQ(registry.EnumKey(scratch, 2, name, &size), kErrorNoMoreItems);
  // A name that does not fit with its terminator.
  size = 5;
  EXPECT_EQ(registry.EnumKey(scratch, 0, name, &size), kErrorMoreData);
  size = 6;
  EXPECT_EQ(registry.EnumKey(scratch, 0, name, &size), kErrorSuccess);

  // Values: the default value, named ones case-blind, sizes and a buffer too small.
  RegKey beta = Create(registry, scratch, "Beta");
  SetText(registry, beta, nullptr, "default text");
  SetText(registry, beta, "Named", "abc");
  std::uint8_t data[32] = {};
  std::uint32_t type = 0;
  size = sizeof data;
  ASSERT_EQ(registry.QueryValue(beta, nullptr, &type, data, &size), kErrorSuccess);
  EXPECT_STREQ(reinterpret_cast<char*>(data), "default text");
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 13u);
  size = sizeof data;
  EXPECT_EQ(registry.QueryValue(beta, "NAMED", nullptr, data, &size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  size = 3;
  EXPECT_EQ(registry.QueryValue(beta, "Named", nullptr, data, &size), kErrorMoreData);
  EXPECT_EQ(size, 4u);
  size = sizeof data;
  EXPECT_EQ(registry.QueryValue(beta, "Missing", nullptr, data, &size), kErrorFileNotFound);
  const std::uint8_t dword[4] = {0x44, 0x33, 0x22, 0x11};
  EXPECT_EQ(registry.SetValue(beta, "Number", kRegDword, dword, 4), kErrorSuccess);
  size = sizeof data;
  EXPECT_EQ(registry.QueryValue(beta, "Number", &type, data, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::memcmp(data, dword, 4), 0);
  // Values enumerate in creation order, the default value with an empty name.
  char value_name[16];
  std::uint32_t name_size = sizeof value_name;
  size = sizeof data;
  ASSERT_EQ(registry.EnumValue(beta, 0, value_name, &name_size, &type, data, &size), kErrorSuccess);
  EXPECT_STREQ(value_name, "");
  EXPECT_EQ(name_size, 0u);
  EXPECT_EQ(size, 13u);
  name_size = sizeof value_name;
  size = sizeof data;
  ASSERT_EQ(registry.EnumValue(beta, 2, value_name, &name_size, &type, data, &size), kErrorSuccess);
  EXPECT_STREQ(value_name, "Number");
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(size, 4u);
  name_size = sizeof value_name;
  size = 3;
  EXPECT_EQ(registry.EnumValue(beta, 1, value_name, &name_size, &type, data, &size), kErrorMoreData);
  name_size = 5;
  size = sizeof data;
  EXPECT_EQ(registry.EnumValue(beta, 1, value_name, &name_size, &type, data, &size), kErrorMoreData);
  name_size = sizeof value_name;
  size = sizeof data;
  EXPECT_EQ(registry.EnumValue(beta, 3, value_name, &name_size, &type, data, &size), kErrorNoMoreItems);
  registry.CloseKey(beta);

  // Deletion: only keys without subkeys; an absent key is not found.
  EXPECT_NE(registry.DeleteKey(scratch, "Alpha"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(scratch, "Alpha\\Inner"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(scratch, "alpha"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(scratch, "Alpha"), kErrorFileNotFound);
  EXPECT_EQ(registry.DeleteKey(scratch, "Beta"), kErrorSuccess);
  size = sizeof name;
  EXPECT_EQ(registry.EnumKey(scratch, 0, name, &size), kErrorNoMoreItems);
}

}  // namespace corvane
