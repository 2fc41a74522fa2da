// A server file loaded as a library for the time of one self-registration call.
#pragma once
#include <string>

#include "platform/modules.h"

namespace corvane {

class LoadedLibrary {
 public:
  LoadedLibrary(Modules& modules, const std::string& path)
      : modules_(modules), handle_(modules.Load(path.c_str())) {}
  // Frees the library unless Free did so already, so that no path out leaves it loaded.
  ~LoadedLibrary() { Free(); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != 0; }
  ModuleHandle handle() const { return handle_; }
  void Free() {
    if (handle_ != 0) modules_.Free(handle_);
    handle_ = 0;
  }

 private:
  Modules& modules_;
  ModuleHandle handle_;
};

}  // namespace corvane
