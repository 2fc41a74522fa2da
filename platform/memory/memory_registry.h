// An in-memory registry with Win32 semantics: case-blind key and value names, enumeration in
// creation order, and faults that tests inject by key path ("HKEY_CLASSES_ROOT\CLSID\...").
// Names and string data are stored wide, as Windows does: the ANSI calls see them through a
// code page that holds Latin-1 only (a few letters best-fit, the rest '?'), the wide calls see
// them exactly, odd-length and unterminated strings included. Links are followed by every
// call but the wide ones, which open and delete a link itself.
// Like 64-bit Windows it has two views: the 32-bit view's "CLSID", "AppID" and "Interface"
// below the classes keys live in "Wow6432Node" beside them; all other keys are shared.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace corvane {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  bool HasTwoViews() const override { return two_views_; }
  // A registry of 32-bit Windows: one view, whichever is chosen.
  void set_single_view() { two_views_ = false; }

  long OpenKey(RegKey parent, const char* path, std::uint32_t access, RegKey* out) override;
  long CreateKey(RegKey parent, const char* path, RegKey* out) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override;
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override;
  long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long DeleteKey(RegKey parent, const char* path) override;
  long CloseKey(RegKey key) override;
  long ConnectLocalMachine(const char* computer, RegKey* out) override;
  long OpenKeyW(RegKey parent, const std::u16string& path, std::uint32_t access,
                RegKey* out) override;
  long CreateKeyW(RegKey parent, const std::u16string& path, RegKey* out) override;
  long EnumKeyW(RegKey key, std::uint32_t index, std::u16string* name) override;
  long EnumValueW(RegKey key, std::uint32_t index, std::u16string* name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override;
  long QueryValueW(RegKey key, const std::u16string& name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) override;
  long SetValueW(RegKey key, const std::u16string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& data) override;
  long DeleteKeyW(RegKey parent, const std::u16string& name) override;

  // Test set-up: creates the key (and its parents) and sets a value; name "" is the default.
  void SetString(RegKey root, const std::string& path, const std::string& name,
                 const std::string& value, std::uint32_t type = kRegSz);
  void SetBytes(RegKey root, const std::string& path, const std::string& name,
                std::uint32_t type, const std::vector<std::uint8_t>& bytes);
  void AddKey(RegKey root, const std::string& path);
  // The same with wide names and the value's exact stored bytes.
  void SetWide(RegKey root, const std::u16string& path, const std::u16string& name,
               std::uint32_t type, const std::vector<std::uint8_t>& bytes);
  // A link at path (made as REG_OPTION_CREATE_LINK makes it) to target_path below target_root.
  void AddLink(RegKey root, const std::u16string& path, RegKey target_root,
               const std::string& target_path);
  // Every key, name and byte below root, for comparing two states exactly.
  std::string Snapshot(RegKey root) const;
  bool KeyExists(RegKey root, const std::string& path);
  // Another computer that ConnectLocalMachine reaches; returns the root of its
  // HKEY_LOCAL_MACHINE for set-up (full paths of faults begin "\\NAME\HKEY_LOCAL_MACHINE").
  RegKey AddComputer(const std::string& name);
  // Every connection waits this long first, as a network would; refused ones too.
  void set_connect_delay_ms(int delay) { connect_delay_ms_ = delay; }
  void RefuseConnect(const std::string& name, long error = kErrorBadNetPath);
  // Keys opened and not yet closed.
  std::size_t OpenHandleCount() const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return handles_.size();
  }

  // Faults, by full key path such as "HKEY_CLASSES_ROOT\CLSID\{x}".
  void RefuseOpen(const std::string& full_path, long error = kErrorAccessDenied);
  void FailEnumKeyAt(const std::string& full_path, std::uint32_t index, long error);
  void FailEnumValueAt(const std::string& full_path, std::uint32_t index, long error);
  void FailQueryValue(const std::string& full_path, const std::string& value_name,
                      long error = kErrorMoreData);
  void RefuseDelete(const std::string& full_path);

 private:
  struct Node;
  std::shared_ptr<Node> NodeOf(RegKey key) const;
  // Whether the chosen view keeps the key part of this node in Wow6432Node.
  bool ViewRedirects(const Node& node, const std::u16string& part) const;
  std::shared_ptr<Node> AddNode(const std::shared_ptr<Node>& parent, const std::u16string& name);
  long Resolve(RegKey parent, const std::u16string& path, bool create, bool open_link,
               std::shared_ptr<Node>* found, int depth = 0);
  long QueryOrEnum(RegKey key, std::shared_ptr<Node>* node);
  RegKey NewHandle(const std::shared_ptr<Node>& node);
  static std::string FullPath(const Node& node);

  std::map<RegKey, std::shared_ptr<Node>> roots_;
  std::map<RegKey, std::shared_ptr<Node>> handles_;
  RegKey next_handle_ = 0x1000;

  std::map<std::string, long> refused_opens_;                     // upper-cased path
  std::map<std::pair<std::string, std::uint32_t>, long> enum_faults_;
  std::map<std::pair<std::string, std::uint32_t>, long> value_enum_faults_;
  std::map<std::pair<std::string, std::string>, long> query_faults_;
  std::set<std::string> refused_deletes_;
  std::map<std::string, RegKey> computers_;  // upper-cased name -> root
  std::map<std::string, long> refused_connects_;
  RegKey next_computer_ = 0x90000000u;
  int connect_delay_ms_ = 0;
  bool two_views_ = true;
  // Worker threads read other computers while the user interface reads the local keys.
  mutable std::recursive_mutex lock_;
};

}  // namespace corvane
