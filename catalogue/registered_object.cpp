#include "catalogue/registered_object.h"

#include "app/settings.h"
#include "catalogue/dependency_walker.h"
#include "catalogue/find_cache.h"
#include "catalogue/loaded_library.h"
#include "catalogue/registry_access.h"
#include "catalogue/server_registration.h"
#include "platform/text.h"

namespace corvane {

CRegisteredObject::CRegisteredObject(const Platform& platform, const char* clsid,
                                     const char* server_subkey)
    : CFileObject(platform), clsid_(clsid ? clsid : "") {
  ResolveServer(ReadClassValue(server_subkey), nullptr);
}

CRegisteredObject::CRegisteredObject(const Platform& platform, const char* clsid,
                                     const ClassFacts& facts)
    : CFileObject(platform),
      clsid_(clsid ? clsid : ""),
      prog_id_known_(facts.names_read),
      description_known_(facts.names_read),
      prog_id_(facts.prog_id),
      description_(facts.description) {
  type_libs_ = facts.type_libs;
  ResolveServer(facts.server_value, facts.finds);
}

CRegisteredObject::~CRegisteredObject() = default;

void CRegisteredObject::ResolveServer(const std::string& value, CFindCache* finds) {
  ServerCommand command = SplitServerValue(value);
  file_path_ = std::move(command.file);
  server_arguments_ = std::move(command.arguments);
  quoted_server_ = command.quoted;
  ExpandPath();
  // Quotes mark the whole file name: a text before one of its blanks is not that file.
  exists_ = CheckFileExists(finds, !quoted_server_);
}

std::string CRegisteredObject::GetServerCommand() const {
  return quoted_server_ ? "\"" + GetFilePath() + "\"" + server_arguments_ : GetFilePath();
}

const std::string& CRegisteredObject::ProgId() const {
  if (!prog_id_known_) prog_id_ = ReadClassValue("ProgID");
  prog_id_known_ = true;
  return prog_id_;
}

const std::string& CRegisteredObject::Description() const {
  if (!description_known_)
    description_ = ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_}));
  description_known_ = true;
  return description_;
}


void CRegisteredObject::FillDependencies(DependencyTree& tree) {
  if (exists_ == 0) return;
  std::vector<std::unique_ptr<CFileObject>> list;
  if (GetFileDependencies(platform_, GetFilePath(), list) != 1) return;
  for (auto& entry : list) {
    // A DLL loaded only on first use has an image of its own; a missing one is missing.
    const int image = entry->exists() ? (entry->delay_loaded() ? 4 : 0) : 1;
    tree.InsertEntry(std::move(entry), image);
  }
}

int CRegisteredObject::RemoveFromRegistry(std::string& log) { return RemoveKeys(log); }

namespace {

// The same class in the other half of a 64-bit registry.
bool RegisteredInOtherView(Registry& registry, const std::string& clsid) {
  if (!registry.HasTwoViews()) return false;
  ViewSwitch other(registry, registry.view() == RegistryView::k64 ? RegistryView::k32
                                                                  : RegistryView::k64);
  return KeyOpens(registry, kClassesRoot, JoinKeyPath({"CLSID", clsid}));
}

}  // namespace

std::vector<ClassKey> CRegisteredObject::ClassKeys() {
  Registry& registry = platform_.registry;
  const std::u16string clsid = Widen(clsid_);
  const std::u16string class_path = u"CLSID\\" + clsid;
  std::vector<ClassKey> keys;
  if (IsOwnKeyName(clsid_) && RegisteredInOtherView(registry, clsid_)) {
    // ProgID and TypeLib keys are shared by both views: the other view's class keeps them.
    keys.push_back({"CLSID", u"CLSID", clsid});
    kept_note_ += "ProgID and TypeLib keys (the class is registered in the other view too)\n";
    return keys;
  }
  for (const char16_t* subkey : {u"ProgID", u"VersionIndependentProgID"}) {
    const std::u16string prog_id = ReadWideText(registry, kClassesRoot, class_path + u"\\" + subkey);
    if (!IsOwnKeyName(prog_id)) continue;
    bool listed = false;
    for (const ClassKey& key : keys) listed = listed || EqualsNoCase(key.name, prog_id);
    if (listed) continue;
    // A ProgID key is the class's only when its own CLSID subkey names the class: a shared
    // name such as a file type or a URL protocol belongs to others.
    RegKey probe = 0;
    if (registry.OpenKeyW(kClassesRoot, prog_id, kKeyRead, &probe) != kErrorSuccess) continue;
    registry.CloseKey(probe);
    if (EqualsNoCase(ReadWideText(registry, kClassesRoot, prog_id + u"\\CLSID"), clsid))
      keys.push_back({"ProgID", u"", prog_id});
    else
      kept_note_ += "ProgID: " + Shown(prog_id) + " (its CLSID key does not name this class)\n";
  }
  const std::u16string type_lib = ReadWideText(registry, kClassesRoot, class_path + u"\\TypeLib");
  if (IsOwnKeyName(type_lib)) {
    if (!type_libs_) type_libs_ = std::make_shared<TypeLibUsers>();
    std::u16string other;
    if (type_libs_->UsedByOther(registry, type_lib, clsid, &other))
      kept_note_ += "TypeLib: " + Shown(type_lib) + " (the class " + Shown(other) + " uses it too)\n";
    else
      keys.push_back({"TypeLib", u"TypeLib", type_lib});
  }
  if (IsOwnKeyName(clsid_)) keys.push_back({"CLSID", u"CLSID", clsid});
  return keys;
}

int CRegisteredObject::RemoveKeys(std::string& log) {
  kept_note_.clear();
  // The names are read before the CLSID key that holds them goes.
  const std::vector<ClassKey> keys = ClassKeys();
  backed_up_keys_ = keys;
  for (ClassKey& extra : ExtraBackupKeys()) backed_up_keys_.push_back(std::move(extra));
  backup_path_ = WriteRemovalBackup(platform_, clsid_, GetName(), backed_up_keys_, &backed_up_trees_);
  if (backup_path_.empty()) return 0;
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (!DeleteClassKey(platform_, keys[i], backed_up_trees_[i], log)) break;
  if (IsRegistered()) return 0;
  if (type_libs_) type_libs_->Forget(Widen(clsid_));
  return 1;
}

int CRegisteredObject::RemoveWithSummary(std::string& log, bool offer_app_id) {
  const std::string name = GetName();
  log = kRemovalLogHeader;
  const bool app_id_asked = offer_app_id && !GetAppID().empty();
  if (RemoveKeys(log) == 0) {
    // Without a backup nothing was deleted, and the user was told why.
    if (!backup_path_.empty()) {
      platform_.notice.ShowMessageBox(name + " could not be removed from the Registry." +
                                      "\n\nThe following keys were deleted:\n" + log);
    }
    return 0;
  }
  // The AppID key, when it was there, is the last one backed up.
  const std::size_t last = backed_up_keys_.size() - 1;
  if (app_id_asked && backed_up_keys_[last].label == "AppID" &&
      !backed_up_trees_[last].name.empty() &&
      platform_.notice.AskYesNo(name +
                                    " has an AppID registry key defined.\nThis key could be shared "
                                    "by other objects.\n\nWould you like to remove it?",
                                "Confirm AppID Delete")) {
    DeleteClassKey(platform_, backed_up_keys_[last], backed_up_trees_[last], log);
  }
  std::string summary =
      name + " was successfully removed from the Registry.\n\nThe following keys were deleted:\n" + log;
  if (!kept_note_.empty()) summary += "\nThese keys were kept, as other registrations use them:\n" + kept_note_;
  platform_.notice.NotifyAction(summary, AppSettings().after_remove);
  return 1;
}

int CRegisteredObject::Unregister() {
  const std::string path = GetFilePath();
  const std::string name = GetName();
  UserNotice& notice = platform_.notice;
  WaitCursor wait(notice);
  LoadedLibrary library(platform_.modules, path);
  if (!library.loaded()) {
    notice.NotifyAction("Failed to load " + path + " in order to Unregister " + name,
                        kMessageDialogMode);
    return 0;
  }
  long result = 0;
  const bool called = platform_.modules.CallExport(library.handle(), kUnregisterEntry, &result);
  // Freed before anything is shown: the unregistered dialog may delete the file.
  library.Free();
  if (!called) {
    notice.NotifyAction(std::string("Failed to find '") + kUnregisterEntry + "' function in " +
                            path + "\n\nCan't Unregister " + name,
                        kMessageDialogMode);
    return 0;
  }
  if (IsFailureCode(result)) {
    notice.NotifyAction(EntryFailedText(kUnregisterEntry, path, result) +
                            "\n\nCan't Unregister " + name,
                        kMessageDialogMode);
    return 0;
  }
  const int mode = AppSettings().after_unregister;
  if (mode == kMessageDialogMode)
    notice.ShowUnregistered(name, path);
  else
    notice.NotifyAction(path + "\n\nUnregistered Successfully !", mode);
  return 1;
}

std::string CRegisteredObject::ReadClassValue(const std::string& subkey) const {
  return ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_, subkey}));
}

bool CRegisteredObject::IsRegistered() const {
  return KeyOpens(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_}));
}

std::string CRegisteredObject::GetAppID() const {
  return ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_}), "AppID");
}

std::string CRegisteredObject::GetName() const {
  return ProgId().empty() ? "Unknown" : ProgId();
}

std::string CRegisteredObject::GetVersion() const {
  return ReadValueReadably(platform_.registry, kClassesRoot,
                           JoinKeyPath({"CLSID", clsid_, "Version"}));
}

std::string CRegisteredObject::GetTypeLibName() const {
  const std::string version = GetVersion();
  const std::string type_lib = ReadClassValue("TypeLib");
  std::string name =
      ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"TypeLib", type_lib, version}));
  return name.empty() ? "Not Defined" : name;
}

TypeLibCheck CRegisteredObject::CheckTypeLib() const {
  return CheckTypeLibrary(platform_, ReadClassValue("TypeLib"), ReadClassValue("Version"), false);
}

std::string CRegisteredObject::GetBareClsid() const {
  std::string bare = clsid_;
  if (!bare.empty() && bare.front() == '{') bare.erase(0, 1);
  if (!bare.empty() && bare.back() == '}') bare.pop_back();
  return bare;
}

}  // namespace corvane
