// In-memory modules: files that "load" and the exports they offer.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

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

  // Every command line run, in order; each ends with the exit code set, or fails to start
  // when that is negative.
  bool RunAndWait(const std::string& command_line, std::uint32_t* exit_code) override;
  const std::vector<std::string>& commands() const { return commands_; }
  void set_exit_code(long code) { exit_code_ = code; }

 private:
  std::map<std::string, std::map<std::string, Export>> modules_;  // upper-cased path
  std::map<ModuleHandle, std::string> loaded_;
  ModuleHandle next_ = 0x10000;
  std::vector<std::string> commands_;
  long exit_code_ = 0;
};

}  // namespace corvane
