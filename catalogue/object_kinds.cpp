#include "catalogue/object_kinds.h"

#include "catalogue/registry_access.h"
#include "platform/text.h"

namespace corvane {

std::string CExeServerObject::GetName() const {
  return Description().empty() ? CRegisteredObject::GetName() : Description();
}

std::vector<ClassKey> CExeServerObject::ExtraBackupKeys() const {
  const std::u16string app_id =
      ReadWideText(platform_.registry, kClassesRoot, u"CLSID\\" + Widen(clsid_), u"AppID");
  if (!IsOwnKeyName(app_id)) return {};
  return {ClassKey{"AppID", u"APPID", app_id}};
}

}  // namespace corvane
