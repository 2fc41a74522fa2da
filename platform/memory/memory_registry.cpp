#include "platform/memory/memory_registry.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <unordered_map>

#include "platform/text.h"

namespace corvane {

struct MemoryRegistry::Node {
  struct Value {
    std::string name;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
  };

  std::string name;
  Node* parent = nullptr;
  bool deleted = false;
  bool classes = false;  // HKEY_CLASSES_ROOT or a HKEY_LOCAL_MACHINE\Software\Classes
  std::vector<std::shared_ptr<Node>> children;  // creation order
  std::unordered_map<std::string, std::shared_ptr<Node>> by_name;  // upper-cased name
  std::vector<Value> values;                    // creation order

  std::shared_ptr<Node> Child(const std::string& child_name) const {
    auto it = by_name.find(ToUpper(child_name));
    return it == by_name.end() ? nullptr : it->second;
  }
  void AddChild(const std::shared_ptr<Node>& child) {
    children.push_back(child);
    by_name[ToUpper(child->name)] = child;
  }
  void RemoveChild(const std::shared_ptr<Node>& child) {
    by_name.erase(ToUpper(child->name));
    for (auto it = children.begin(); it != children.end(); ++it) {
      if (*it == child) {
        children.erase(it);
        return;
      }
    }
  }
  Value* FindValue(const std::string& value_name) {
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

bool RedirectedKey(const std::string& name) {
  return EqualsNoCase(name, "CLSID") || EqualsNoCase(name, "AppID") ||
         EqualsNoCase(name, "Interface");
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && EqualsNoCase(text.substr(text.size() - end.size()), end);
}

bool SplitPath(const char* path, std::vector<std::string>* parts) {
  parts->clear();
  if (path == nullptr || *path == '\0') return true;
  std::string part;
  for (const char* p = path;; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (part.empty()) return false;  // empty component or leading/trailing separator
      parts->push_back(part);
      part.clear();
      if (*p == '\0') break;
    } else {
      part += *p;
    }
  }
  return true;
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

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Step(const std::shared_ptr<Node>& node,
                                                           const std::string& part,
                                                           bool create) const {
  const auto child_of = [create](const std::shared_ptr<Node>& from, const std::string& name) {
    std::shared_ptr<Node> child = from->Child(name);
    if (child || !create) return child;
    child = std::make_shared<Node>();
    child->name = name;
    child->parent = from.get();
    child->classes = EqualsNoCase(name, "Classes") && from->parent != nullptr &&
                     from->parent->parent == nullptr && EqualsNoCase(from->name, "Software") &&
                     EndsWithNoCase(from->parent->name, "HKEY_LOCAL_MACHINE");
    from->AddChild(child);
    return child;
  };
  if (two_views_ && view() == RegistryView::k32 && node->classes && RedirectedKey(part)) {
    std::shared_ptr<Node> wow = child_of(node, "Wow6432Node");
    return wow ? child_of(wow, part) : nullptr;
  }
  return child_of(node, part);
}

long MemoryRegistry::Resolve(RegKey parent, const char* path, bool create,
                             std::shared_ptr<Node>* found) {
  std::shared_ptr<Node> node = NodeOf(parent);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  std::vector<std::string> parts;
  if (!SplitPath(path, &parts)) return kErrorBadPathname;
  for (const auto& part : parts) {
    node = Step(node, part, create);
    if (!node) return kErrorFileNotFound;
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
  long rc = Resolve(parent, path, false, &node);
  if (rc != kErrorSuccess) return rc;
  *out = NewHandle(node);
  return kErrorSuccess;
}

long MemoryRegistry::CreateKey(RegKey parent, const char* path, RegKey* out) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, path, true, &node);
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
  const auto length = static_cast<std::uint32_t>(value.data.size());
  if (value.name.size() + 1 > *name_size) return kErrorMoreData;
  if (data && data_size && length > *data_size) return kErrorMoreData;
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  *name_size = static_cast<std::uint32_t>(value.name.size());
  if (type) *type = value.type;
  if (data && length) std::memcpy(data, value.data.data(), length);
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
  Node::Value* value = node->FindValue(value_name);
  if (!value) return kErrorFileNotFound;
  if (type) *type = value->type;
  const auto length = static_cast<std::uint32_t>(value->data.size());
  if (size == nullptr) return data ? kErrorInvalidParameter : kErrorSuccess;
  if (data == nullptr) {
    *size = length;
    return kErrorSuccess;
  }
  if (*size < length) {
    *size = length;
    return kErrorMoreData;
  }
  if (length) std::memcpy(data, value->data.data(), length);
  *size = length;
  return kErrorSuccess;
}

long MemoryRegistry::SetValue(RegKey key, const char* name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::shared_ptr<Node> node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  const std::string value_name = name ? name : "";
  Node::Value* value = node->FindValue(value_name);
  if (!value) {
    node->values.push_back({value_name, type, {}});
    value = &node->values.back();
  }
  value->type = type;
  value->data.assign(data, data + size);
  return kErrorSuccess;
}

long MemoryRegistry::DeleteKey(RegKey parent, const char* path) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (path == nullptr || *path == '\0') return kErrorInvalidParameter;
  std::shared_ptr<Node> node;
  long rc = Resolve(parent, path, false, &node);
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
  std::vector<std::string> parts;
  if (!node || !SplitPath(path.c_str(), &parts)) return false;
  for (const auto& part : parts) {
    node = Step(node, part, false);
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

}  // namespace corvane
