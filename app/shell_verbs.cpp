#include "app/shell_verbs.h"

#include "catalogue/delete_registry_key.h"

namespace corvane {

namespace {

// Stale verb keys of "dllfile", named by their menu texts.
const char* const kOldDllVerbs[] = {
    "dllfile\\shell\\Register DLL Server", "dllfile\\shell\\View DLL Server Details",
    "dllfile\\shell\\Compare With...", "dllfile\\shell\\Unregister DLL Server"};

// Failures while deleting the old keys are not the user's business at start-up.
class SilentNotice : public UserNotice {
 public:
  void ShowMessageBox(const std::string&) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void ShowWaitDialog() override {}
  void HideWaitDialog() override {}
  void NotifyAction(const std::string&, int) override {}
  void ShowUnregistered(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

// Sets the key's default value, creating the key; false when either fails.
bool SetDefaultText(Registry& registry, const std::string& path, const std::string& text) {
  RegKey key = 0;
  if (registry.CreateKey(kClassesRoot, path.c_str(), &key) != kErrorSuccess) return false;
  KeyCloser closer(registry, key);
  return registry.SetValue(key, "", kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                           static_cast<std::uint32_t>(text.size() + 1)) == kErrorSuccess;
}

void SetDefaultVerb(Registry& registry, const std::string& type, const std::string& verb) {
  SetDefaultText(registry, type + "\\shell", verb);
}

void AddShellVerb(Registry& registry, const std::string& type, const std::string& text,
                  const std::string& letter, const std::string& program) {
  const std::string verb = type + "\\shell\\" + letter;
  // Without the verb's own key its command would be a verb without a menu text.
  if (!SetDefaultText(registry, verb, text)) return;
  SetDefaultText(registry, verb + "\\command", program + " -" + letter + " %L");
}

void RegisterFileTypeVerbs(Registry& registry, const std::string& type, const std::string& kind,
                           const ShellVerbTexts& texts, const std::string& program) {
  SetDefaultVerb(registry, type, "R");
  AddShellVerb(registry, type, texts.register_word + " " + kind, "R", program);
  AddShellVerb(registry, type, texts.view_word + " " + kind + " " + texts.details_word, "V",
               program);
  AddShellVerb(registry, type, texts.compare_text, "C", program);
  AddShellVerb(registry, type, texts.unregister_word + " " + kind, "U", program);
  if (kind == texts.control_kind) SetDefaultText(registry, type + "\\DefaultIcon", program);
}

}  // namespace

std::string ProgramDirectory(const std::string& module_path) {
  const std::size_t separator = module_path.find_last_of("\\/");
  if (separator != std::string::npos) return module_path.substr(0, separator);
  // "C:name.exe": only the drive.
  return module_path.size() >= 2 && module_path[1] == ':' ? module_path.substr(0, 2)
                                                          : std::string();
}

std::string ProgramName(const std::string& module_path) {
  const std::size_t separator = module_path.find_last_of("\\/:");
  std::string name =
      separator == std::string::npos ? module_path : module_path.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

void RegisterShellVerbs(const Platform& platform, const std::string& module_path,
                        const ShellVerbTexts& texts) {
  Registry& registry = platform.registry;
  if (!SetDefaultText(registry, ".ocx", "ocxfile")) return;
  const std::string program =
      ProgramDirectory(module_path) + "\\" + ProgramName(module_path) + ".exe";
  RegisterFileTypeVerbs(registry, "ocxfile", texts.control_kind, texts, program);
  SilentNotice silent;
  const Platform quiet{platform.registry, platform.files, platform.modules, silent};
  for (const char* old_verb : kOldDllVerbs) DeleteRegistryKey(quiet, kClassesRoot, old_verb);
  RegisterFileTypeVerbs(registry, "dllfile", texts.dll_kind, texts, program);
}

}  // namespace corvane
