#include "platform/memory/memory_modules.h"

#include "platform/text.h"

namespace corvane {

void MemoryModules::AddModule(const std::string& path, std::map<std::string, Export> exports) {
  modules_[ToUpper(path)] = std::move(exports);
}

ModuleHandle MemoryModules::Load(const char* path) {
  const std::string key = ToUpper(path ? path : "");
  if (!modules_.count(key)) return 0;
  ModuleHandle handle = next_;
  next_ += 0x1000;
  loaded_[handle] = key;
  return handle;
}

bool MemoryModules::HasExport(ModuleHandle module, const char* name) {
  auto loaded = loaded_.find(module);
  return loaded != loaded_.end() && modules_[loaded->second].count(name ? name : "");
}

bool MemoryModules::CallExport(ModuleHandle module, const char* name, long* result) {
  if (!HasExport(module, name)) return false;
  *result = modules_[loaded_[module]][name]();
  return true;
}

void MemoryModules::Free(ModuleHandle module) { loaded_.erase(module); }

void MemoryModules::AddAssemblyDll(const std::string& importer, const std::string& name,
                                   const std::string& path) {
  assembly_dlls_[ToUpper(importer + "|" + name)] = path;
}

void MemoryModules::AddLoaderDll(const std::string& name, const std::string& path) {
  loader_dlls_[ToUpper(name)] = path;
}

std::string MemoryModules::FindInAssembly(const char* importer, const char* name) {
  ++assembly_questions_;
  auto it = assembly_dlls_.find(ToUpper(std::string(importer) + "|" + name));
  return it == assembly_dlls_.end() ? std::string() : it->second;
}

std::string MemoryModules::FindWithLoader(const char* name) {
  ++loader_questions_;
  auto it = loader_dlls_.find(ToUpper(name));
  return it == loader_dlls_.end() ? std::string() : it->second;
}

bool MemoryModules::RunAndWait(const std::string& command_line, std::uint32_t* exit_code) {
  commands_.push_back(command_line);
  if (exit_code_ < 0) return false;
  *exit_code = static_cast<std::uint32_t>(exit_code_);
  return true;
}

}  // namespace corvane
