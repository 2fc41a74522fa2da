// The registry seam over advapi32.
#pragma once
#include "platform/registry.h"

namespace corvane {

// On 64-bit Windows, while the other bitness's view is chosen, every open and create carries
// its KEY_WOW64_32KEY or KEY_WOW64_64KEY and deletes go through RegDeleteKeyExA with it; in
// the program's own view, and on 32-bit Windows, the calls are those of a plain program.
class Win32Registry : public Registry {
 public:
  bool HasTwoViews() const override;
  long OpenKey(RegKey parent, const char* path, std::uint32_t access, RegKey* out) override;
  long CreateKey(RegKey parent, const char* path, RegKey* out) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override;
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override;
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long DeleteKey(RegKey parent, const char* path) override;
  long CloseKey(RegKey key) override;
  long ConnectLocalMachine(const char* computer, RegKey* out) override;

  long OpenKeyW(RegKey parent, const std::u16string& path, std::uint32_t access,
                RegKey* out) override;
  long CreateKeyW(RegKey parent, const std::u16string& path, RegKey* out) override;
  long EnumKeyW(RegKey key, std::uint32_t index, std::u16string* name) override;
  long EnumValueW(RegKey key, std::uint32_t index, std::u16string* name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override;
  long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) override;
  long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& data) override;
  long DeleteKeyW(RegKey parent, const std::u16string& name) override;
 protected:
  // The access bits that select the chosen view; 0 where there is only one.
  std::uint32_t ViewAccess() const;
};

}  // namespace corvane
