#include "catalogue/type_library_tree.h"

#include <algorithm>
#include <functional>

#include "catalogue/type_library_idl.h"
#include "platform/text.h"

namespace corvane {

namespace {

const char kDefaultMark[] = " - default interface";
const char kSourceMark[] = " - default events";

std::string ImplLine(const TypeLibImpl& impl) {
  std::vector<std::string> attributes;
  if (impl.is_default) attributes.push_back("default");
  if (impl.source) attributes.push_back("source");
  if (impl.restricted) attributes.push_back("restricted");
  std::string text;
  for (const std::string& word : attributes) text += (text.empty() ? "[" : ", ") + word;
  if (!text.empty()) text += "] ";
  return text + (impl.dispinterface ? "dispinterface " : "interface ") + impl.name;
}

}  // namespace

TypeLibNode BuildTypeLibTree(const TypeLibrary& library, const std::string& clsid) {
  TypeLibNode root;
  root.text = "library " + library.name + " " + std::to_string(library.major) + "." +
              std::to_string(library.minor) + (library.help.empty() ? "" : " - " + library.help);
  root.idl = LibraryIdl(library);
  std::vector<const TypeLibType*> order;
  for (const TypeLibType& type : library.types) order.push_back(&type);
  const auto rank = [&clsid](const TypeLibType* type) {
    const bool own = type->kind == TypeKind::kCoclass && !clsid.empty() && EqualsNoCase(type->guid, clsid);
    return own ? -1 : static_cast<int>(type->kind);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&rank](const TypeLibType* a, const TypeLibType* b) { return rank(a) < rank(b); });
  // The class's own coclass names its default and event interfaces.
  std::string default_interface, default_source;
  const bool has_own = !order.empty() && rank(order.front()) < 0;
  if (has_own) {
    for (const TypeLibImpl& impl : order.front()->impls) {
      if (!impl.is_default) continue;
      (impl.source ? default_source : default_interface) = impl.name;
    }
  }
  for (const TypeLibType* type : order) {
    TypeLibNode node;
    node.text = TypeHeading(*type);
    if (type->name == default_interface) node.text += kDefaultMark;
    if (type->name == default_source && type->kind != TypeKind::kCoclass) node.text += kSourceMark;
    node.idl = TypeIdl(*type);
    node.selected = has_own && type == order.front();
    for (const TypeLibImpl& impl : type->impls) {
      std::string line = ImplLine(impl);
      if (node.selected && impl.is_default) line += impl.source ? kSourceMark : kDefaultMark;
      node.children.push_back({line, ImplLine(impl) + ";\n", false, {}});
    }
    for (const TypeLibMember& member : type->members) {
      const std::string signature = MemberSignature(*type, member);
      node.children.push_back({signature, signature + ";\n", false, {}});
    }
    root.children.push_back(std::move(node));
  }
  root.selected = !has_own;
  return root;
}

std::string TreeText(const TypeLibNode& root) {
  std::string out;
  std::function<void(const TypeLibNode&, int)> add = [&](const TypeLibNode& node, int depth) {
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + node.text + "\n";
    for (const TypeLibNode& child : node.children) add(child, depth + 1);
  };
  add(root, 0);
  return out;
}

}  // namespace corvane
