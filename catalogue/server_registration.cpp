#include "catalogue/server_registration.h"

#include <cstdint>
#include <cstdio>

#include "app/settings.h"
#include "catalogue/loaded_library.h"

namespace corvane {

namespace {

struct EntryCall {
  const char* entry;
  const char* verb;  // in the load-failure text
  const char* done;  // in the success text
  int mode;
};

int CallServerEntry(const Platform& platform, const std::string& path, const EntryCall& call,
                    bool* entry_called) {
  if (entry_called != nullptr) *entry_called = false;
  UserNotice& notice = platform.notice;
  WaitCursor wait(notice);
  // Declared after the cursor: the library is freed before the cursor ends, and only after
  // the message below has been dealt with.
  LoadedLibrary library(platform.modules, path);
  if (!library.loaded()) {
    notice.NotifyAction("Failed to load " + path + " in order to " + call.verb + " it.",
                        kMessageDialogMode);
    return 0;
  }
  long result = 0;
  if (!platform.modules.CallExport(library.handle(), call.entry, &result)) {
    notice.NotifyAction(std::string("Failed to find '") + call.entry + "' function in " + path,
                        kMessageDialogMode);
    return 0;
  }
  if (entry_called != nullptr) *entry_called = true;
  if (IsFailureCode(result)) {
    notice.NotifyAction(EntryFailedText(call.entry, path, result), kMessageDialogMode);
    return 0;
  }
  notice.NotifyAction(path + "\n\n" + call.done + " Successfully !", call.mode);
  return 1;
}

}  // namespace

int RegisterServerFile(const Platform& platform, const std::string& path, bool* entry_called) {
  return CallServerEntry(platform, path,
                         {kRegisterEntry, "register", "Registered", AppSettings().after_register},
                         entry_called);
}

int UnregisterServerFile(const Platform& platform, const std::string& path) {
  return CallServerEntry(
      platform, path,
      {kUnregisterEntry, "unregister", "Unregistered", AppSettings().after_unregister}, nullptr);
}

bool IsFailureCode(long result) {
  // An HRESULT is 32 bits wherever long is wider.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(result)) < 0;
}

std::string EntryFailedText(const char* entry, const std::string& path, long result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX",
                static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
  return std::string("'") + entry + "' failed in " + path + " (error " + code + ")";
}

}  // namespace corvane
