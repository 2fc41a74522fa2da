#include "catalogue/registered_object.h"

#include "catalogue/dependency_walker.h"
#include "catalogue/registry_access.h"

namespace corvane {

CRegisteredObject::CRegisteredObject(const Platform& platform, const char* clsid,
                                     const char* server_subkey)
    : CFileObject(platform), clsid_(clsid ? clsid : "") {
  file_path_ = StripQuotes(ReadClassValue(server_subkey));
  ExpandPath();
  exists_ = file_path_.empty() ? 0 : 1;
  exists_ = CheckFileExists();
}

CRegisteredObject::~CRegisteredObject() = default;


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

int CRegisteredObject::Unregister() { return 0; }

std::string CRegisteredObject::ReadClassValue(const std::string& subkey) const {
  return ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_, subkey}));
}

std::string CRegisteredObject::GetAppID() const {
  return ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_}), "AppID");
}

std::string CRegisteredObject::GetName() const {
  std::string prog_id = ReadClassValue("ProgID");
  return prog_id.empty() ? "Unknown" : prog_id;
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
