// The three seams and the user notice, handed together to the core.
#pragma once
#include "platform/files.h"
#include "platform/modules.h"
#include "platform/registry.h"
#include "platform/type_libraries.h"
#include "platform/user_notice.h"

namespace corvane {

struct Platform {
  Registry& registry;
  Files& files;
  Modules& modules;
  UserNotice& notice;
  // Null where no type library can be loaded: the checks then stop at the file.
  TypeLibraries* type_libraries = nullptr;
};

// Turns the registry and the files to one view together.
inline void ChooseView(const Platform& platform, RegistryView view) {
  platform.registry.set_view(view);
  platform.files.set_view(view);
}

}  // namespace corvane
