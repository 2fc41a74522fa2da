// The COM object record: one class key below HKEY_CLASSES_ROOT\CLSID and its server file.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "catalogue/class_removal.h"
#include "catalogue/file_object.h"
#include "catalogue/type_library_check.h"
#include "catalogue/type_lib_users.h"

namespace corvane {

// What a walk over the classes has already read of one class, so that its record need not
// read it again.
struct ClassFacts {
  std::string server_value;  // default value of the server subkey, as read
  std::string prog_id;       // default value of the ProgID subkey
  std::string description;   // default value of the class key; read for EXE servers only
  bool names_read = false;   // whether prog_id and description hold what was read
  CFindCache* finds = nullptr;
  // Shared by the records of one catalogue; null reads the classes when a removal asks.
  std::shared_ptr<TypeLibUsers> type_libs;
};

class CRegisteredObject : public CFileObject {
 public:
  // Reads the server value of server_subkey ("InprocServer32" or "LocalServer32"), takes the
  // file it names, expands it and sets the exists flag by the file rule. clsid null is empty.
  CRegisteredObject(const Platform& platform, const char* clsid, const char* server_subkey);
  // The same from what a walk has read: the server value, and the names kept for GetName.
  CRegisteredObject(const Platform& platform, const char* clsid, const ClassFacts& facts);
  ~CRegisteredObject() override;

  virtual void FillRegistryTree(KeyTree& tree);
  virtual void FillDependencies(DependencyTree& tree);
  // The ProgID, or "Unknown". Read once, or taken from the walk that built the record.
  virtual std::string GetName() const;
  // The class's values were changed: the names are read again when next asked.
  void ForgetNames() { prog_id_known_ = description_known_ = false; }
  // The default value of TypeLib\<TypeLib>\<Version>, or "Not Defined".
  virtual std::string GetTypeLibName() const;
  // Removes the class keys (RemoveKeys); nothing is shown.
  virtual int RemoveFromRegistry(std::string& log);
  // Unregisters the server file through its DllUnregisterServer and reports the outcome;
  // 1 when the entry point was called and succeeded.
  virtual int Unregister();
  virtual std::string GetAttribute(int index) const;
  // The object rows: class values, file status, dates when present, version strings.
  void FillAttributes(AttributeRows& rows) override;

  // The default value of CLSID\<clsid>\<subkey>; empty when absent.
  std::string ReadClassValue(const std::string& subkey) const;
  // Whether the key CLSID\<clsid> is still there.
  bool IsRegistered() const;
  // The default value of its Version key, readable whatever its type.
  std::string GetVersion() const;
  // The "AppID" value of CLSID\<clsid>; empty when absent.
  std::string GetAppID() const;
  // Backs up, then deletes the ProgID, version-independent ProgID, TypeLib and CLSID keys in
  // that order, logging each key that is gone afterwards. A ProgID key whose CLSID subkey
  // names another class (or none), and a type library another class names, stay, and
  // kept_note() says why. 1 when the CLSID key is gone; 0 when it survived, or when the
  // backup failed and nothing was deleted.
  int RemoveKeys(std::string& log);
  // The backup file of the last removal; empty before one was written.
  const std::string& backup_path() const { return backup_path_; }
  // Lines naming the keys the last removal left because they are not the class's alone.
  const std::string& kept_note() const { return kept_note_; }

  // The command line that starts the server: the file, quoted when the registration
  // quoted it, and the arguments that followed.
  std::string GetServerCommand() const;
  // The check of the type library the class names, at the class's version; the file is
  // loaded, not read.
  TypeLibCheck CheckTypeLib() const;

  // The CLSID without its braces.
  std::string GetBareClsid() const;

  // Lists the subkeys of subkey below root, to any depth, under parent. The result of the final
  // close, or the open's error when the key can't be opened (nothing is added then).
  long FillRegistrySubtree(KeyTree& tree, TreeItem parent, RegKey root,
                           const std::string& subkey) const;

  const std::string& clsid() const { return clsid_; }

 protected:
  // The CLSID, TypeLib and ProgID branches; returns the top item.
  TreeItem FillClassKeys(KeyTree& tree) const;
  // The ProgID and the class description, read now unless known.
  const std::string& ProgId() const;
  const std::string& Description() const;
  // The keys RemoveKeys deletes: the ProgID key when it is the class's own, the TypeLib key
  // and the CLSID key, each when its name may be deleted.
  std::vector<ClassKey> ClassKeys();
  // What the backup holds besides the class keys.
  virtual std::vector<ClassKey> ExtraBackupKeys() const { return {}; }
  // RemoveKeys, then the summary through the notification the user chose for removals, or a
  // message when the CLSID key survived. offer_app_id asks whether the AppID key goes too.
  int RemoveWithSummary(std::string& log, bool offer_app_id);

  std::string clsid_;
  std::string backup_path_;
  std::string kept_note_;
  // Each key of the last backup as it was read, to delete exactly that.
  std::vector<ClassKey> backed_up_keys_;
  std::vector<SavedKey> backed_up_trees_;
  std::shared_ptr<TypeLibUsers> type_libs_;

 private:
  // The file path, arguments and exists flag from the server value as read.
  void ResolveServer(const std::string& value, CFindCache* finds);

  std::string server_arguments_;
  bool quoted_server_ = false;
  mutable bool prog_id_known_ = false;
  mutable bool description_known_ = false;
  mutable std::string prog_id_;
  mutable std::string description_;
};

}  // namespace corvane
