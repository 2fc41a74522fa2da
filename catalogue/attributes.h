// The attribute table: 20 attributes by index, with the labels the panes, reports and the
// file comparison print beside their values.
#pragma once

namespace corvane {

constexpr int kAttributeCount = 20;

enum AttributeIndex {
  kAttrProgId = 0, kAttrVersion, kAttrClsid, kAttrTypeLibName, kAttrTypeLib, kAttrFileLocation,
  kAttrStatus, kAttrFileSize, kAttrCreated, kAttrLastModified, kAttrAccessed,
  kAttrFileDescription, kAttrCompanyName, kAttrFileVersion, kAttrInternalName,
  kAttrLegalCopyright, kAttrOriginalFilename, kAttrProductName, kAttrProductVersion,
  kAttrTypeLibStatus
};

// The label of an index, "" outside the table.
const char* AttributeLabel(int index);
// The name of an index's column in comma-delimited text: the label, or one without blanks
// where a label was added later.
const char* AttributeColumnName(int index);
// The registry subkey (0, 1, 4) or version-resource key (11..18) of an index; null for none.
const char* AttributeKey(int index);

constexpr char kStatusExists[] = "File Exists";
constexpr char kStatusMissing[] = "SEVERE WARNING: File does not exist";
constexpr char kStatusNoPath[] = "WARNING: Path Not defined (File should be in system path)";

}  // namespace corvane
