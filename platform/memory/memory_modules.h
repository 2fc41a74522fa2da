// In-memory modules: files that "load" and the exports they offer.
#pragma once
#include <functional>
#include <map>
#include <string>

#include "platform/modules.h"

namespace corvane {

class MemoryModules : public Modules {
 public:
  using Export = std::function<long()>;

  ModuleHandle Load(const char* path) override;
  bool HasExport(ModuleHandle module, const char* name) override;
  bool CallExport(ModuleHandle module, const char* name, long* result) override;
  void Free(ModuleHandle module) override;

  // A loadable file with its exports (name -> what calling it does).
  void AddModule(const std::string& path, std::map<std::string, Export> exports);
  // Modules loaded and not yet freed.
  std::size_t LoadedCount() const { return loaded_.size(); }

 private:
  std::map<std::string, std::map<std::string, Export>> modules_;  // upper-cased path
  std::map<ModuleHandle, std::string> loaded_;
  ModuleHandle next_ = 0x10000;
};

}  // namespace corvane
