// The attribute table: 19 attributes by index, with the labels the panes, reports and the
// file comparison print beside their values.
#pragma once

namespace corvane {

constexpr int kAttributeCount = 19;

enum AttributeIndex {
  kAttrProgId = 0, kAttrVersion, kAttrClsid, kAttrTypeLibName, kAttrTypeLib, kAttrFileLocation,
  kAttrStatus, kAttrFileSize, kAttrCreated, kAttrLastModified, kAttrAccessed,
  kAttrFileDescription, kAttrCompanyName, kAttrFileVersion, kAttrInternalName,
  kAttrLegalCopyright, kAttrOriginalFilename, kAttrProductName, kAttrProductVersion
};

// The label of an index, "" outside 0..18.
const char* AttributeLabel(int index);
// The registry subkey (0, 1, 4) or version-resource key (11..18) of an index; null for none.
const char* AttributeKey(int index);

constexpr char kStatusExists[] = "File Exists";
constexpr char kStatusMissing[] = "SEVERE WARNING: File does not exist";
constexpr char kStatusNoPath[] = "WARNING: Path Not defined (File should be in system path)";

}  // namespace corvane
