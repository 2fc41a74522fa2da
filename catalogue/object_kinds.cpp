#include "catalogue/object_kinds.h"

#include "catalogue/registry_access.h"

namespace corvane {

std::string CExeServerObject::GetName() const {
  return Description().empty() ? CRegisteredObject::GetName() : Description();
}

}  // namespace corvane
