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
  std::vector<std::uint8_t> ApiSetSchema() override { return schema_; }
  std::string FindInAssembly(const char* importer, const char* name) override;
  std::string FindWithLoader(const char* name) override;

  void SetApiSetSchema(std::vector<std::uint8_t> schema) { schema_ = std::move(schema); }
  // The importer's manifest redirects name to path.
  void AddAssemblyDll(const std::string& importer, const std::string& name,
                      const std::string& path);
  // The loader maps name from path.
  void AddLoaderDll(const std::string& name, const std::string& path);
  // How often each question was asked.
  int assembly_questions() const { return assembly_questions_; }
  int loader_questions() const { return loader_questions_; }

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
  std::vector<std::uint8_t> schema_;
  std::map<std::string, std::string> assembly_dlls_;  // upper-cased "importer|name"
  std::map<std::string, std::string> loader_dlls_;    // upper-cased name
  int assembly_questions_ = 0;
  int loader_questions_ = 0;
  std::vector<std::string> commands_;
  long exit_code_ = 0;
};

}  // namespace corvane
