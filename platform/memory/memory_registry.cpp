#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <thread>

#include "platform/text.h"

namespace corvane {

namespace {

// The ANSI code page the ANSI calls see names and strings through.
char ToAnsi(char16_t c) {
  if (c <= 0xFF) return static_cast<char>(c);
  if (c == 0x131) return 'i';
  if (c == 0x142) return 'l';
  if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char>(c - 0xFEE0);
  return '?';
}

std::string AnsiOf(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out += ToAnsi(c);
  return out;
}

bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// What an ANSI set stores: strings widened character by character.
std::vector<std::uint8_t> StoredOf(std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  if (!IsStringType(type)) return std::vector<std::uint8_t>(data, data + size);
  std::vector<std::uint8_t> out;
  out.reserve(size * 2);
  for (std::uint32_t i = 0; i < size; ++i) {
    out.push_back(data[i]);
    out.push_back(0);
  }
  return out;
}

// What an ANSI read gets: strings narrowed, an odd last byte lost.
std::vector<std::uint8_t> AnsiDataOf(std::uint32_t type, const std::vector<std::uint8_t>& stored) {
  if (!IsStringType(type)) return stored;
  std::vector<std::uint8_t> out;
  out.reserve(stored.size() / 2);
  for (std::size_t i = 0; i + 1 < stored.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(ToAnsi(static_cast<char16_t>(stored[i] | stored[i + 1] << 8))));
  return out;
}

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::u16string name;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;  // as stored: strings wide
  };

  std::u16string wide;
  std::string name;  // the wide name as the ANSI calls see it
  Node* parent = nullptr;
  bool deleted = false;
  bool classes = false;  // HKEY_CLASSES_ROOT or HKEY_LOCAL_MACHINE\Software\Classes
  bool link = false;
  RegKey link_root = 0;
  std::u16string link_path;
  std::vector<std::shared_ptr<Node>> children;  // creation order
  std::unordered_map<std::u16string, std::shared_ptr<Node>> by_name;  // folded name
  std::vector<Value> values;                    // creation order

  std::shared_ptr<Node> Child(const std::u16string& child_name) const {
    auto it = by_name.find(Folded(child_name));
    return it == by_name.end() ? nullptr : it->second;
  }
  void AddChild(const std::shared_ptr<Node>& child) {
    children.push_back(child);
    by_name[Folded(child->wide)] = child;
  }
  void RemoveChild(const std::shared_ptr<Node>& child) {
    by_name.erase(Folded(child->wide));
    for (auto it = children.begin(); it != children.end(); ++it) {
      if (*it == child) {
        children.erase(it);
        return;
      }
    }
  }
  Value* FindValue(const std::u16string& value_name) {
    for (auto& value : values)
      if (EqualsNoCase(value.name, value_name)) return &value;
    return nullptr;
  }
  void MarkDeleted() {
    deleted = true;
    for (auto& child : children) child->MarkDeleted();
  }
};

namespace {

bool SplitPath(const std::u16string& path, std::vector<std::u16string>* parts) {
  parts->clear();
  if (path.empty()) return true;
  std::u16string part;
  for (std::size_t i = 0;; ++i) {
    if (i == path.size() || path[i] == u'\\') {
      if (part.empty()) return false;  // empty component or leading/trailing separator
      parts->push_back(part);
      part.clear();
      if (i == path.size()) break;
    } else {
      part += path[i];
    }
  }
  return true;
}

std::u16string WideOf(const char* path) { return path ? Widen(path) : std::u16string(); }

// The keys below a classes key that the 32-bit view of 64-bit Windows keeps in Wow6432Node.
bool RedirectedKey(const std::u16string& name) {
  return EqualsNoCase(name, u"CLSID") || EqualsNoCase(name, u"AppID") ||
         EqualsNoCase(name, u"Interface");
}

}  // namespace

MemoryRegistry::MemoryRegistry() {
  const std::pair<RegKey, const char*> names[] = {{kClassesRoot, "HKEY_CLASSES_ROOT"},
                                                  {kCurrentUser, "HKEY_CURRENT_USER"},
                                                  {kLocalMachine, "HKEY_LOCAL_MACHINE"},
                                                  {kUsers, "HKEY_USERS"}};
  for (const auto& [key, name] : names) {
    auto node = std::make_shared<Node>();
    node->name = name;
    node->wide = Widen(name);
    node->classes = key == kClassesRoot;
    roots_[key] = node;
  }
}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::NodeOf(RegKey key) const {
  auto root = roots_.find(key);
  if (root != roots_.end()) return root->second;
  auto handle = handles_.find(key);
  return handle == handles_.end() ? nullptr : handle->second;
}

std::string MemoryRegistry::FullPath(const Node& node) {
  return node.parent ? FullPath(*node.parent) + "\\" + node.name : node.name;
}

bool MemoryRegistry::ViewRedirects(const Node& node, const std::u16string& part) const {
  return two_views_ && view() == RegistryView::k32 && node.classes && RedirectedKey(part);
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::AddNode(const std::shared_ptr<Node>& parent,
                                                              const std::u16string& name) {
  auto child = std::make_shared<Node>();
  child->wide = name;
  child->name = AnsiOf(name);
  child->parent = parent.get();
  // HKEY_LOCAL_MACHINE\Software\Classes holds classes as HKEY_CLASSES_ROOT does.
  child->classes = EqualsNoCase(name, u"Classes") && parent->parent != nullptr &&
                   parent->parent->parent == nullptr && EqualsNoCase(parent->wide, u"Software") &&
                   parent->parent->name == "HKEY_LOCAL_MACHINE";
  parent->AddChild(child);
  return child;
}

long MemoryRegistry::Resolve(RegKey parent, const std::u16string& path, bool create,
                             bool open_link, std::shared_ptr<Node>* found, int depth) {
  std::shared_ptr<Node> node = NodeOf(parent);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  std::vector<std::u16string> parts;
  if (!SplitPath(path, &parts)) return kErrorBadPathname;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (ViewRedirects(*node, parts[i])) {
      std::shared_ptr<Node> wow = node->Child(u"Wow6432Node");
      if (!wow) {
        if (!create) return kErrorFileNotFound;
        wow = AddNode(node, u"Wow6432Node");
      }
      node = wow;
    }
    std::shared_ptr<Node> child = node->Child(parts[i]);
    if (!child) {
      if (!create) return kErrorFileNotFound;
      // A key that would be refused is not made either.
      auto refused = refused_opens_.find(ToUpper(FullPath(*node) + "\\" + AnsiOf(parts[i])));
      if (refused != refused_opens_.end()) return refused->second;
      child = AddNode(node, parts[i]);
    }
    if (child->link && !(open_link && i + 1 == parts.size())) {
      if (depth > 16) return kErrorFileNotFound;
      const long rc = Resolve(child->link_root, child->link_path, false, false, &child, depth + 1);
      if (rc != kErrorSuccess) return rc;
    }
    node = child;
  }
  if (!refused_opens_.empty()) {
    auto refused = refused_opens_.find(ToUpper(FullPath(*node)));
    if (refused != refused_opens_.end()) return refused->second;
  }
  *found = node;
  return kErrorSuccess;
}

RegKey MemoryRegistry::NewHandle(const std::shared_ptr<Node>& node) {
  RegKey handle = next_handle_;
  next_handle_ += 4;
  handles_[handle] = node;
  return handle;
}

long MemoryRegistry::OpenKey(RegKey parent, const char* path, std::uint32_t, RegKey* out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, WideOf(path), false, false, &node);
  if (rc != kErrorSuccess) return rc;
  *out = NewHandle(node);
  return kErrorSuccess;
}

long MemoryRegistry::CreateKey(RegKey parent, const char* path, RegKey* out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, WideOf(path), true, false, &node);
  if (rc != kErrorSuccess) return rc;
  *out = NewHandle(node);
  return kErrorSuccess;
}

long MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  if (!enum_faults_.empty()) {
    auto fault = enum_faults_.find({ToUpper(FullPath(*node)), index});
    if (fault != enum_faults_.end()) return fault->second;
  }
  if (index >= node->children.size()) return kErrorNoMoreItems;
  const std::string& child = node->children[index]->name;
  if (child.size() + 1 > *size) return kErrorMoreData;
  std::memcpy(name, child.c_str(), child.size() + 1);
  *size = static_cast<std::uint32_t>(child.size());
  return kErrorSuccess;
}

long MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name,
                               std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* data_size) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  if (!value_enum_faults_.empty()) {
    auto fault = value_enum_faults_.find({ToUpper(FullPath(*node)), index});
    if (fault != value_enum_faults_.end()) return fault->second;
  }
  if (index >= node->values.size()) return kErrorNoMoreItems;
  const Node::Value& value = node->values[index];
  const std::string value_name = AnsiOf(value.name);
  const std::vector<std::uint8_t> bytes = AnsiDataOf(value.type, value.data);
  const auto length = static_cast<std::uint32_t>(bytes.size());
  if (value_name.size() + 1 > *name_size) return kErrorMoreData;
  if (data && data_size && length > *data_size) return kErrorMoreData;
  std::memcpy(name, value_name.c_str(), value_name.size() + 1);
  *name_size = static_cast<std::uint32_t>(value_name.size());
  if (type) *type = value.type;
  if (data && length) std::memcpy(data, bytes.data(), length);
  if (data_size) *data_size = length;
  return kErrorSuccess;
}

long MemoryRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  const std::string value_name = name ? name : "";
  if (!query_faults_.empty()) {
    auto fault = query_faults_.find({ToUpper(FullPath(*node)), ToUpper(value_name)});
    if (fault != query_faults_.end()) return fault->second;
  }
  Node::Value* value = node->FindValue(Widen(value_name));
  if (!value) return kErrorFileNotFound;
  if (type) *type = value->type;
  const std::vector<std::uint8_t> bytes = AnsiDataOf(value->type, value->data);
  const auto length = static_cast<std::uint32_t>(bytes.size());
  if (size == nullptr) return data ? kErrorInvalidParameter : kErrorSuccess;
  if (data == nullptr) {
    *size = length;
    return kErrorSuccess;
  }
  if (*size < length) {
    *size = length;
    return kErrorMoreData;
  }
  if (length) std::memcpy(data, bytes.data(), length);
  *size = length;
  return kErrorSuccess;
}

long MemoryRegistry::SetValue(RegKey key, const char* name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  const std::u16string value_name = WideOf(name);
  Node::Value* value = node->FindValue(value_name);
  if (!value) {
    node->values.push_back({value_name, type, {}});
    value = &node->values.back();
  }
  value->type = type;
  value->data = StoredOf(type, data, size);
  return kErrorSuccess;
}

long MemoryRegistry::DeleteKey(RegKey parent, const char* path) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (path == nullptr || *path == '\0') return kErrorInvalidParameter;
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, WideOf(path), false, false, &node);
  if (rc != kErrorSuccess) return rc;
  if (!node->parent || !node->children.empty()) return kErrorAccessDenied;
  if (refused_deletes_.count(ToUpper(FullPath(*node)))) return kErrorAccessDenied;
  node->parent->RemoveChild(node);
  node->MarkDeleted();
  node->parent = nullptr;
  return kErrorSuccess;
}

long MemoryRegistry::CloseKey(RegKey key) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (roots_.count(key)) return kErrorSuccess;
  return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

void MemoryRegistry::SetBytes(RegKey root, const std::string& path, const std::string& name,
                              std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
  RegKey key = 0;
  if (CreateKey(root, path.c_str(), &key) != kErrorSuccess) return;
  SetValue(key, name.c_str(), type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  CloseKey(key);
}

void MemoryRegistry::SetString(RegKey root, const std::string& path, const std::string& name,
                               const std::string& value, std::uint32_t type) {
  std::vector<std::uint8_t> bytes(value.begin(), value.end());
  bytes.push_back(0);
  SetBytes(root, path, name, type, bytes);
}

void MemoryRegistry::AddKey(RegKey root, const std::string& path) {
  RegKey key = 0;
  if (CreateKey(root, path.c_str(), &key) == kErrorSuccess) CloseKey(key);
}

bool MemoryRegistry::KeyExists(RegKey root, const std::string& path) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = NodeOf(root);
  std::vector<std::u16string> parts;
  if (!node || !SplitPath(Widen(path), &parts)) return false;
  for (const auto& part : parts) {
    if (ViewRedirects(*node, part)) node = node->Child(u"Wow6432Node");
    if (node) node = node->Child(part);
    if (!node) return false;
  }
  return true;
}

void MemoryRegistry::RefuseOpen(const std::string& full_path, long error) {
  refused_opens_[ToUpper(full_path)] = error;
}

void MemoryRegistry::FailEnumKeyAt(const std::string& full_path, std::uint32_t index, long error) {
  enum_faults_[{ToUpper(full_path), index}] = error;
}

void MemoryRegistry::FailEnumValueAt(const std::string& full_path, std::uint32_t index,
                                     long error) {
  value_enum_faults_[{ToUpper(full_path), index}] = error;
}

void MemoryRegistry::FailQueryValue(const std::string& full_path, const std::string& value_name,
                                    long error) {
  query_faults_[{ToUpper(full_path), ToUpper(value_name)}] = error;
}

void MemoryRegistry::RefuseDelete(const std::string& full_path) {
  refused_deletes_.insert(ToUpper(full_path));
}

long MemoryRegistry::ConnectLocalMachine(const char* computer, RegKey* out) {
  if (connect_delay_ms_ > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(connect_delay_ms_));
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const std::string name = ToUpper(computer != nullptr ? computer : "");
  auto refused = refused_connects_.find(name);
  if (refused != refused_connects_.end()) return refused->second;
  auto found = computers_.find(name);
  if (found == computers_.end()) return kErrorBadNetPath;
  *out = NewHandle(roots_[found->second]);
  return kErrorSuccess;
}

RegKey MemoryRegistry::AddComputer(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  auto found = computers_.find(ToUpper(name));
  if (found != computers_.end()) return found->second;
  auto node = std::make_shared<Node>();
  node->name = "\\\\" + name + "\\HKEY_LOCAL_MACHINE";
  node->wide = Widen(node->name);
  const RegKey root = next_computer_;
  next_computer_ += 4;
  roots_[root] = node;
  computers_[ToUpper(name)] = root;
  return root;
}

void MemoryRegistry::RefuseConnect(const std::string& name, long error) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  refused_connects_[ToUpper(name)] = error;
}

long MemoryRegistry::OpenKeyW(RegKey parent, const std::u16string& path, std::uint32_t,
                              RegKey* out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, path, false, true, &node);
  if (rc != kErrorSuccess) return rc;
  *out = NewHandle(node);
  return kErrorSuccess;
}

long MemoryRegistry::CreateKeyW(RegKey parent, const std::u16string& path, RegKey* out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, path, true, false, &node);
  if (rc != kErrorSuccess) return rc;
  *out = NewHandle(node);
  return kErrorSuccess;
}

long MemoryRegistry::QueryOrEnum(RegKey key, std::shared_ptr<Node>* node) {
  *node = NodeOf(key);
  if (!*node) return kErrorInvalidHandle;
  return (*node)->deleted ? kErrorKeyDeleted : kErrorSuccess;
}

long MemoryRegistry::EnumKeyW(RegKey key, std::uint32_t index, std::u16string* name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = QueryOrEnum(key, &node);
  if (rc != kErrorSuccess) return rc;
  if (!enum_faults_.empty()) {
    auto fault = enum_faults_.find({ToUpper(FullPath(*node)), index});
    if (fault != enum_faults_.end()) return fault->second;
  }
  if (index >= node->children.size()) return kErrorNoMoreItems;
  *name = node->children[index]->wide;
  return kErrorSuccess;
}

long MemoryRegistry::EnumValueW(RegKey key, std::uint32_t index, std::u16string* name,
                                std::uint32_t* type, std::vector<std::uint8_t>* data) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = QueryOrEnum(key, &node);
  if (rc != kErrorSuccess) return rc;
  if (!value_enum_faults_.empty()) {
    auto fault = value_enum_faults_.find({ToUpper(FullPath(*node)), index});
    if (fault != value_enum_faults_.end()) return fault->second;
  }
  if (index >= node->values.size()) return kErrorNoMoreItems;
  const Node::Value& value = node->values[index];
  *name = value.name;
  *type = value.type;
  *data = value.data;
  return kErrorSuccess;
}

long MemoryRegistry::QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type,
                                 std::vector<std::uint8_t>* data) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = QueryOrEnum(key, &node);
  if (rc != kErrorSuccess) return rc;
  Node::Value* value = node->FindValue(name);
  if (!value) return kErrorFileNotFound;
  *type = value->type;
  *data = value->data;
  return kErrorSuccess;
}

long MemoryRegistry::SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                               const std::vector<std::uint8_t>& data) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = QueryOrEnum(key, &node);
  if (rc != kErrorSuccess) return rc;
  Node::Value* value = node->FindValue(name);
  if (!value) {
    node->values.push_back({name, type, {}});
    value = &node->values.back();
  }
  value->type = type;
  value->data = data;
  return kErrorSuccess;
}

long MemoryRegistry::DeleteKeyW(RegKey parent, const std::u16string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (name.empty()) return kErrorInvalidParameter;
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, name, false, true, &node);
  if (rc != kErrorSuccess) return rc;
  if (!node->parent || !node->children.empty()) return kErrorAccessDenied;
  if (refused_deletes_.count(ToUpper(FullPath(*node)))) return kErrorAccessDenied;
  node->parent->RemoveChild(node);
  node->MarkDeleted();
  node->parent = nullptr;
  return kErrorSuccess;
}

void MemoryRegistry::SetWide(RegKey root, const std::u16string& path, const std::u16string& name,
                             std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
  RegKey key = 0;
  if (CreateKeyW(root, path, &key) != kErrorSuccess) return;
  SetValueW(key, name, type, bytes);
  CloseKey(key);
}

void MemoryRegistry::AddLink(RegKey root, const std::u16string& path, RegKey target_root,
                             const std::string& target_path) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  if (Resolve(root, path, true, true, &node) != kErrorSuccess) return;
  node->link = true;
  node->link_root = target_root;
  node->link_path = Widen(target_path);
  const std::u16string shown = u"\\REGISTRY\\" + Widen(target_path);
  std::vector<std::uint8_t> bytes = BytesOfText(shown);
  bytes.resize(bytes.size() - 2);  // a link's target is stored without a terminator
  node->values.push_back({u"SymbolicLinkValue", kRegLink, bytes});
}

std::string MemoryRegistry::Snapshot(RegKey root) const {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::string out;
  std::function<void(const Node&, int)> dump = [&](const Node& node, int depth) {
    const auto add_text = [&](const std::u16string& text) {
      for (char16_t c : text) out += std::to_string(static_cast<unsigned>(c)) + ",";
    };
    out += std::string(depth, ' ') + "key " + (node.link ? "link " : "");
    add_text(node.wide);
    out += "\n";
    for (const auto& value : node.values) {
      out += std::string(depth, ' ') + " value ";
      add_text(value.name);
      out += " type " + std::to_string(value.type) + " bytes ";
      for (std::uint8_t b : value.data) out += std::to_string(b) + ",";
      out += "\n";
    }
    // The real registry lists subkeys sorted by name, whatever order they were made in.
    std::vector<const Node*> sorted;
    for (const auto& child : node.children) sorted.push_back(child.get());
    std::sort(sorted.begin(), sorted.end(),
              [](const Node* a, const Node* b) { return Folded(a->wide) < Folded(b->wide); });
    for (const Node* child : sorted) dump(*child, depth + 1);
  };
  std::shared_ptr<Node> node = NodeOf(root);
  if (node) dump(*node, 0);
  return out;
}

}  // namespace corvane
