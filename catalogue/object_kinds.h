// The record kinds: the three categories, and a server file picked by path.
#pragma once
#include <string>

#include "catalogue/registered_object.h"

namespace corvane {

class CControlObject : public CRegisteredObject {
 public:
  CControlObject(const Platform& platform, const char* clsid)
      : CRegisteredObject(platform, clsid, "InprocServer32") {}
  CControlObject(const Platform& platform, const char* clsid, const ClassFacts& facts)
      : CRegisteredObject(platform, clsid, facts) {}
  // The object rows, then "Toolbox Bitmap".
  void FillAttributes(AttributeRows& rows) override;
  // Removes the class keys and shows the summary.
  int RemoveFromRegistry(std::string& log) override { return RemoveWithSummary(log, false); }
};

class CDllServerObject : public CRegisteredObject {
 public:
  CDllServerObject(const Platform& platform, const char* clsid)
      : CRegisteredObject(platform, clsid, "InprocServer32") {}
  CDllServerObject(const Platform& platform, const char* clsid, const ClassFacts& facts)
      : CRegisteredObject(platform, clsid, facts) {}
  // Removes the class keys and shows the summary.
  int RemoveFromRegistry(std::string& log) override { return RemoveWithSummary(log, false); }
};

class CExeServerObject : public CRegisteredObject {
 public:
  CExeServerObject(const Platform& platform, const char* clsid)
      : CRegisteredObject(platform, clsid, "LocalServer32") {}
  CExeServerObject(const Platform& platform, const char* clsid, const ClassFacts& facts)
      : CRegisteredObject(platform, clsid, facts) {}
  // The class description first, then the ProgID.
  std::string GetName() const override;
  // The class keys, then the AppID key.
  void FillRegistryTree(KeyTree& tree) override;
  // The object rows, then "AppID" and "Default Icon".
  void FillAttributes(AttributeRows& rows) override;
  // Removes the class keys, offers to remove the AppID key, and shows the summary.
  int RemoveFromRegistry(std::string& log) override { return RemoveWithSummary(log, true); }

 protected:
  // The AppID key goes into the backup too, whatever the answer about it will be.
  std::vector<ClassKey> ExtraBackupKeys() const override;
};

class CComFileObject : public CRegisteredObject {
 public:
  CComFileObject(const Platform& platform, const std::string& chosen_path)
      : CRegisteredObject(platform, nullptr, "InprocServer32"), chosen_path_(chosen_path) {}
  std::string GetFilePath() const override { return chosen_path_; }

 private:
  std::string chosen_path_;
};

}  // namespace corvane
