#include "catalogue/object_kinds.h"

#include "catalogue/registry_access.h"

namespace corvane {

std::string CExeServerObject::GetName() const {
  return Description().empty() ? CRegisteredObject::GetName() : Description();
}

std::vector<ClassKey> CExeServerObject::ExtraBackupKeys() const {
  const std::string app_id = GetAppID();
  if (!IsOwnKeyName(app_id)) return {};
  return {ClassKey{"AppID", "APPID", app_id}};
}

}  // namespace corvane
