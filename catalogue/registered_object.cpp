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
  file_path_ = StripQuotes(ReadClassValue(server_subkey));
  ExpandPath();
  exists_ = file_path_.empty() ? 0 : 1;
  exists_ = CheckFileExists();
}

CRegisteredObject::CRegisteredObject(const Platform& platform, const char* clsid,
                                     const ClassFacts& facts)
    : CFileObject(platform),
      clsid_(clsid ? clsid : ""),
      prog_id_known_(facts.names_read),
      description_known_(facts.names_read),
      prog_id_(facts.prog_id),
      description_(facts.description) {
  file_path_ = StripQuotes(facts.server_value);
  ExpandPath();
  exists_ = CheckFileExists(facts.finds);
}

CRegisteredObject::~CRegisteredObject() = default;

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
    const int image = entry->exists() ? 0 : 1;
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

std::vector<ClassKey> CRegisteredObject::ClassKeys() const {
  std::vector<ClassKey> keys;
  if (IsOwnKeyName(clsid_) && RegisteredInOtherView(platform_.registry, clsid_)) {
    // ProgID and TypeLib keys are shared by both views: the other view's class keeps them.
    keys.push_back({"CLSID", "CLSID", clsid_});
    return keys;
  }
  const std::string prog_id = ReadClassValue("ProgID");
  if (IsOwnKeyName(prog_id)) {
    // A ProgID key that names another class in its CLSID subkey is that class's.
    const std::string owner =
        ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({prog_id, "CLSID"}));
    if (owner.empty() || EqualsNoCase(owner, clsid_)) keys.push_back({"ProgID", "", prog_id});
  }
  const std::string type_lib = ReadClassValue("TypeLib");
  if (IsOwnKeyName(type_lib)) keys.push_back({"TypeLib", "TypeLib", type_lib});
  if (IsOwnKeyName(clsid_)) keys.push_back({"CLSID", "CLSID", clsid_});
  return keys;
}

int CRegisteredObject::RemoveKeys(std::string& log) {
  // Both names are read before the CLSID key that holds them goes.
  const std::vector<ClassKey> keys = ClassKeys();
  std::vector<ClassKey> backed_up = keys;
  for (ClassKey& extra : ExtraBackupKeys()) backed_up.push_back(std::move(extra));
  backup_path_ = WriteRemovalBackup(platform_, clsid_, GetName(), backed_up);
  if (backup_path_.empty()) return 0;
  for (const ClassKey& key : keys) DeleteClassKey(platform_, key, log);
  return KeyOpens(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_})) ? 0 : 1;
}

int CRegisteredObject::RemoveWithSummary(std::string& log, bool offer_app_id) {
  const std::string name = GetName();
  log = kRemovalLogHeader;
  const std::string app_id = offer_app_id ? GetAppID() : std::string();
  if (RemoveKeys(log) == 0) {
    // Without a backup nothing was deleted, and the user was told why.
    if (!backup_path_.empty()) {
      platform_.notice.ShowMessageBox(name + " could not be removed from the Registry." +
                                      "\n\nThe following keys were deleted:\n" + log);
    }
    return 0;
  }
  const ClassKey app_id_key{"AppID", "APPID", app_id};
  if (IsOwnKeyName(app_id) && KeyOpens(platform_.registry, kClassesRoot, ClassKeyPath(app_id_key)) &&
      platform_.notice.AskYesNo(name +
                                    " has an AppID registry key defined.\nThis key could be shared "
                                    "by other objects.\n\nWould you like to remove it?",
                                "Confirm AppID Delete")) {
    DeleteClassKey(platform_, app_id_key, log);
  }
  platform_.notice.NotifyAction(
      name + " was successfully removed from the Registry.\n\nThe following keys were deleted:\n" +
          log,
      AppSettings().after_remove);
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

std::string CRegisteredObject::GetAppID() const {
  return ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_}), "AppID");
}

std::string CRegisteredObject::GetName() const {
  return ProgId().empty() ? "Unknown" : ProgId();
}

std::string CRegisteredObject::GetTypeLibName() const {
  const std::string version = ReadClassValue("Version");
  const std::string type_lib = ReadClassValue("TypeLib");
  std::string name =
      ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"TypeLib", type_lib, version}));
  return name.empty() ? "Not Defined" : name;
}

std::string CRegisteredObject::GetBareClsid() const {
  std::string bare = clsid_;
  if (!bare.empty() && bare.front() == '{') bare.erase(0, 1);
  if (!bare.empty() && bare.back() == '}') bare.pop_back();
  return bare;
}

}  // namespace corvane
