#include "catalogue/registered_object.h"

#include "app/settings.h"
#include "catalogue/dependency_walker.h"
#include "catalogue/find_cache.h"
#include "catalogue/loaded_library.h"
#include "catalogue/registry_access.h"
#include "catalogue/server_registration.h"

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

int CRegisteredObject::RemoveFromRegistry(std::string&) { return 0; }

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
