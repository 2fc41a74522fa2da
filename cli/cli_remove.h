// corvane-cli remove: classes' registrations removed from a console, backup first.
#pragma once
#include "platform/registry_view.h"

// args are the words after "remove". 0 when everything asked for was removed (or only
// listed), 1 when a class is not registered, could not be removed or was left because Ctrl+C
// stopped the removal, 2 for bad arguments
// (the caller prints the usage).
// The classes are those of the registry view given.
int RunRemoveCommand(corvane::RegistryView view, int count, char** args);
