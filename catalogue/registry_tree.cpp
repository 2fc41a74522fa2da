// The registry keys of a record as a tree: every item's texts up to the top item, joined with
// backslashes, are the path of a key below HKEY_CLASSES_ROOT.
#include "catalogue/object_kinds.h"
#include "catalogue/record_sinks.h"
#include "catalogue/registry_access.h"

namespace corvane {

namespace {

// The registry's own nesting limit; a key link that loops back ends here instead of the stack.
constexpr int kMaxKeyDepth = 512;

long FillSubtree(Registry& registry, KeyTree& tree, TreeItem parent, RegKey root,
                 const std::string& subkey, int depth) {
  RegKey key = 0;
  long rc = registry.OpenKey(root, subkey.c_str(), kKeyRead, &key);
  if (rc != kErrorSuccess) return rc;
  if (depth < kMaxKeyDepth) {
    for (std::uint32_t index = 0;; ++index) {
      char name[kKeyBufferSize] = {};
      std::uint32_t size = kKeyBufferSize - 1;
      if (registry.EnumKey(key, index, name, &size) != kErrorSuccess) break;
      TreeItem item = tree.InsertItem(parent, name);
      FillSubtree(registry, tree, item, key, name, depth + 1);
    }
  }
  return registry.CloseKey(key);
}

}  // namespace

long CRegisteredObject::FillRegistrySubtree(KeyTree& tree, TreeItem parent, RegKey root,
                                            const std::string& subkey) const {
  if (subkey.empty()) return kErrorBadPathname;  // would list the root itself
  return FillSubtree(platform_.registry, tree, parent, root, subkey, 0);
}

TreeItem CRegisteredObject::FillClassKeys(KeyTree& tree) const {
  const TreeItem top = tree.InsertItem(kTreeRoot, "HKEY_CLASSES_ROOT");
  const TreeItem clsid_item = tree.InsertItem(tree.InsertItem(top, "CLSID"), clsid_);
  const std::string type_lib = ReadClassValue("TypeLib");
  TreeItem type_lib_item = 0;
  if (!type_lib.empty()) type_lib_item = tree.InsertItem(tree.InsertItem(top, "TypeLib"), type_lib);
  TreeItem prog_id_item = 0;
  if (!ReadClassValue("ProgID").empty()) prog_id_item = tree.InsertItem(top, ReadClassValue("ProgID"));
  tree.Expand(top);

  FillRegistrySubtree(tree, clsid_item, kClassesRoot, JoinKeyPath({"CLSID", clsid_}));
  if (type_lib_item)
    FillRegistrySubtree(tree, type_lib_item, kClassesRoot, JoinKeyPath({"TypeLib", type_lib}));
  if (prog_id_item) FillRegistrySubtree(tree, prog_id_item, kClassesRoot, ReadClassValue("ProgID"));
  return top;
}

void CRegisteredObject::FillRegistryTree(KeyTree& tree) { FillClassKeys(tree); }

void CExeServerObject::FillRegistryTree(KeyTree& tree) {
  const TreeItem top = FillClassKeys(tree);
  const std::string app_id = GetAppID();
  if (app_id.empty()) return;
  const TreeItem app_id_item = tree.InsertItem(tree.InsertItem(top, "AppID"), app_id);
  FillRegistrySubtree(tree, app_id_item, kClassesRoot, JoinKeyPath({"AppID", app_id}));
}

}  // namespace corvane
