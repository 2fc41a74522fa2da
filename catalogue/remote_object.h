// A class as another computer's registry knows it, for the comparison with other computers.
#pragma once
#include <string>

#include "platform/registry.h"

namespace corvane {

class CRemoteObject {
 public:
  // root: the other computer's classes key, owned by the caller and not closed here.
  CRemoteObject(Registry& registry, RegKey root, const std::string& clsid)
      : registry_(registry), root_(root), clsid_(clsid) {}
  virtual ~CRemoteObject() = default;

  // 1 when CLSID\<clsid> opens below the root.
  int IsRegistered() const;
  // The default value of CLSID\<clsid>\Version, readable whatever its type; empty when
  // absent.
  std::string GetVersion() const;

 private:
  Registry& registry_;
  RegKey root_;
  std::string clsid_;
};

}  // namespace corvane
