#include "catalogue/object_kinds.h"

#include "catalogue/registry_access.h"

namespace corvane {

std::string CExeServerObject::GetName() const {
  std::string description =
      ReadKeyValue(platform_.registry, kClassesRoot, JoinKeyPath({"CLSID", clsid_}));
  return description.empty() ? CRegisteredObject::GetName() : description;
}

std::vector<ClassKey> CExeServerObject::ExtraBackupKeys() const {
  const std::string app_id = GetAppID();
  if (!IsOwnKeyName(app_id)) return {};
  return {ClassKey{"AppID", "APPID", app_id}};
}

}  // namespace corvane
