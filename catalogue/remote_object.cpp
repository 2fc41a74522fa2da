#include "catalogue/remote_object.h"

#include "catalogue/registry_access.h"

namespace corvane {

int CRemoteObject::IsRegistered() const {
  return KeyOpens(registry_, root_, JoinKeyPath({"CLSID", clsid_})) ? 1 : 0;
}

std::string CRemoteObject::GetVersion() const {
  return ReadValueReadably(registry_, root_, JoinKeyPath({"CLSID", clsid_, "Version"}));
}

}  // namespace corvane
