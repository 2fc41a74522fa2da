#include "catalogue/server_registration.h"

#include <cstdint>
#include <cstdio>
#include <memory>

#include "app/settings.h"
#include "catalogue/image_bits.h"
#include "catalogue/loaded_library.h"

namespace corvane {

namespace {

struct EntryCall {
  const char* entry;
  const char* verb;  // in the load-failure text
  const char* done;  // in the success text
  int mode;
};

constexpr int kBuildBits = sizeof(void*) == 8 ? 64 : 32;

// Bitness of the server file, or 0 when it can't be read as a PE image (then it is loaded
// here, and the load says what is wrong).
int ServerBits(Files& files, const std::string& path) {
  std::unique_ptr<FileView> view = files.MapFile(path.c_str());
  return view ? ReadImageBits(view->data(), view->size()) : 0;
}

// regsvr32.exe of the other bitness: the 64-bit one through the alias a 32-bit process has for
// the real System32, the 32-bit one in SysWOW64.
std::string OtherRegsvr32(Files& files) {
  const char* pattern = kBuildBits == 32 ? "%SystemRoot%\\Sysnative\\regsvr32.exe"
                                         : "%SystemRoot%\\SysWOW64\\regsvr32.exe";
  char expanded[260] = {};
  const std::uint32_t length = files.ExpandEnvironment(pattern, expanded, sizeof expanded);
  return length > 0 && length <= sizeof expanded ? expanded : pattern;
}

// A process can't load a server of the other bitness: that bitness's regsvr32 calls it, and
// its exit code tells what happened.
int CallThroughRegsvr32(const Platform& platform, const std::string& path, int bits,
                        const EntryCall& call, bool* entry_called) {
  UserNotice& notice = platform.notice;
  const std::string program = OtherRegsvr32(platform.files);
  const bool unregister = call.entry == std::string(kUnregisterEntry);
  std::uint32_t code = 0;
  bool ran;
  {
    WaitCursor wait(notice);
    ran = platform.modules.RunAndWait(
        "\"" + program + "\" /s " + (unregister ? "/u " : "") + "\"" + path + "\"", &code);
  }
  // regsvr32 reached the entry point unless the file did not load or lacks it.
  if (entry_called != nullptr) *entry_called = ran && code != 3 && code != 4;
  const std::string kind = std::to_string(bits) + "-bit";
  if (!ran) {
    notice.NotifyAction("Failed to start " + program + " in order to " + call.verb + " the " +
                            kind + " server " + path + ".",
                        kMessageDialogMode);
    return 0;
  }
  // regsvr32's exit codes: 3 the file did not load, 4 the entry point is missing, 5 it failed.
  switch (code) {
    case 0:
      notice.NotifyAction(path + "\n\n" + call.done + " Successfully !", call.mode);
      return 1;
    case 3:
      notice.NotifyAction("Failed to load " + path + " in order to " + call.verb + " it.",
                          kMessageDialogMode);
      return 0;
    case 4:
      notice.NotifyAction(std::string("Failed to find '") + call.entry + "' function in " + path,
                          kMessageDialogMode);
      return 0;
    default:
      notice.NotifyAction(std::string("'") + call.entry + "' failed in the " + kind + " server " +
                              path + " (" + program + " ended with code " +
                              std::to_string(code) + ")",
                          kMessageDialogMode);
      return 0;
  }
}

int CallServerEntry(const Platform& platform, const std::string& path, const EntryCall& call,
                    bool* entry_called) {
  if (entry_called != nullptr) *entry_called = false;
  const int bits = ServerBits(platform.files, path);
  if (bits != 0 && bits != kBuildBits)
    return CallThroughRegsvr32(platform, path, bits, call, entry_called);
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
