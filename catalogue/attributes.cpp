// Attribute texts of a record: the table, file status and dates, version strings, and the
// rows of the Attributes pane.
#include "catalogue/attributes.h"

#include <cstdio>
#include <ctime>

#include "catalogue/object_kinds.h"
#include "catalogue/record_sinks.h"
#include "catalogue/type_library_check.h"

namespace corvane {

namespace {

struct Attribute {
  const char* key;
  const char* label;
  const char* column = nullptr;
};

const Attribute kAttributes[kAttributeCount] = {
    {"ProgID", "ProgID"},
    {"Version", "Version"},
    {nullptr, "CLSID"},
    {nullptr, "TypeLib Name"},
    {"TypeLib", "TypeLib"},
    {nullptr, "File Location"},
    {nullptr, "Status"},
    {nullptr, "File Size"},
    {nullptr, "Created"},
    {nullptr, "Last Modified"},
    {nullptr, "Accessed"},
    {"FileDescription", "File Description"},
    {"CompanyName", "Company Name"},
    {"FileVersion", "File Version"},
    {"InternalName", "Internal Name"},
    {"LegalCopyright", "Legal Copyright"},
    {"OriginalFilename", "Original Filename"},
    {"ProductName", "Product Name"},
    {"ProductVersion", "Product Version"},
    {nullptr, "TypeLib Status", "TypeLibStatus"},
};

bool InTable(int index) { return index >= 0 && index < kAttributeCount; }

std::string FormatTime(Files& files, std::uint64_t file_time, const char* format) {
  std::tm local{};
  if (!files.ToLocalTime(file_time, &local)) return std::string();
  char text[64] = {};
  return std::strftime(text, sizeof text, format, &local) ? text : std::string();
}

// Rows 5 to 10 and the version rows, shared by records and dependency entries.
void AddFileRows(const CFileObject& file, AttributeRows& rows, bool present, int present_image,
                 int absent_image) {
  const int image = present ? present_image : absent_image;
  rows.AddAttributeRow(AttributeLabel(kAttrFileLocation), file.GetFileStatusText(kAttrFileLocation), image);
  rows.AddAttributeRow(AttributeLabel(kAttrStatus), file.GetFileStatusText(kAttrStatus), image);
  if (!present) return;
  for (int index = kAttrFileSize; index <= kAttrAccessed; ++index)
    rows.AddAttributeRow(AttributeLabel(index), file.GetFileStatusText(index), present_image);
}

}  // namespace

const char* AttributeLabel(int index) { return InTable(index) ? kAttributes[index].label : ""; }

const char* AttributeColumnName(int index) {
  if (!InTable(index)) return "";
  return kAttributes[index].column ? kAttributes[index].column : kAttributes[index].label;
}

const char* AttributeKey(int index) { return InTable(index) ? kAttributes[index].key : nullptr; }

std::string CFileObject::GetFileStatusText(int index) const {
  const std::string path = GetFilePath();
  if (index == kAttrFileLocation) return path;
  if (index == kAttrStatus) {
    if (exists_ == 0) return kStatusMissing;
    return path.find('\\') == std::string::npos ? kStatusNoPath : kStatusExists;
  }
  if (index < kAttrFileSize || index > kAttrAccessed || exists_ == 0) return std::string();
  FoundFile found;
  if (!platform_.files.FindFile(path.c_str(), &found)) return std::string();
  switch (index) {
    case kAttrFileSize: {
      // The low 32 bits as a signed number, as the status of a file always printed it.
      char text[32];
      std::snprintf(text, sizeof text, "%ld Bytes",
                    static_cast<long>(static_cast<std::int32_t>(found.size & 0xFFFFFFFFu)));
      return text;
    }
    case kAttrCreated: return FormatTime(platform_.files, found.creation_time, "%m/%d/%y %H:%M:%S");
    case kAttrLastModified:
      return FormatTime(platform_.files, found.last_write_time, "%m/%d/%y %H:%M:%S");
    default: return FormatTime(platform_.files, found.last_access_time, "%m/%d/%y");
  }
}

int CFileObject::LoadVersionInfo() {
  if (!version_block_.empty()) return 1;
  std::vector<std::uint8_t> block;
  std::uint32_t translation = 0;
  if (!platform_.files.ReadVersionBlock(GetFilePath().c_str(), &block) ||
      !platform_.files.QueryVersionTranslation(block, &translation))
    return 0;
  version_block_ = std::move(block);
  translation_ = translation;
  return 1;
}

std::string CFileObject::GetVersionString(int index) const {
  if (version_block_.empty() || index < kAttrFileDescription || index > kAttrProductVersion)
    return std::string();
  char sub_block[128];
  std::snprintf(sub_block, sizeof sub_block, "\\StringFileInfo\\%04x%04x\\%s",
                static_cast<unsigned>(translation_ & 0xFFFF), static_cast<unsigned>(translation_ >> 16),
                AttributeKey(index));
  std::string text;
  return platform_.files.QueryVersionString(version_block_, sub_block, &text) ? text : std::string();
}

void CFileObject::FillAttributes(AttributeRows& rows) {
  const bool present = GetFileStatusText(kAttrStatus) == kStatusExists;
  AddFileRows(*this, rows, present, 2, 1);
  if (is_dependency_) {
    rows.AddAttributeRow("Found By", FoundByText(found_by_), IsFound(found_by_) ? 2 : 1);
    if (delay_loaded_) rows.AddAttributeRow("Loaded", "on first use (delay-loaded)", 2);
  }
  if (LoadVersionInfo() != 1) return;
  for (int index = kAttrFileDescription; index <= kAttrProductVersion; ++index)
    rows.AddAttributeRow(AttributeLabel(index), GetVersionString(index), 3);
}

std::string CRegisteredObject::GetAttribute(int index) const {
  switch (index) {
    case kAttrProgId: return GetName();
    case kAttrVersion: return GetVersion();
    case kAttrTypeLib: return ReadClassValue(AttributeKey(index));
    case kAttrClsid: return clsid_;
    case kAttrTypeLibName: return GetTypeLibName();
    case kAttrTypeLibStatus: return TypeLibStatusText(CheckTypeLib().state);
    default:
      if (index >= kAttrFileLocation && index <= kAttrAccessed) return GetFileStatusText(index);
      return GetVersionString(index);
  }
}

void CRegisteredObject::FillAttributes(AttributeRows& rows) {
  for (int index = kAttrProgId; index <= kAttrTypeLib; ++index)
    rows.AddAttributeRow(AttributeLabel(index), GetAttribute(index), 0);
  const TypeLibState type_lib = CheckTypeLib().state;
  rows.AddAttributeRow(AttributeLabel(kAttrTypeLibStatus), TypeLibStatusText(type_lib),
                       IsBroken(type_lib) ? 3 : 0);
  const bool present = GetAttribute(kAttrStatus) == kStatusExists;
  AddFileRows(*this, rows, present, 1, 3);
  if (LoadVersionInfo() != 1) return;
  for (int index = kAttrFileDescription; index <= kAttrProductVersion; ++index)
    rows.AddAttributeRow(AttributeLabel(index), GetAttribute(index), 2);
}

void CControlObject::FillAttributes(AttributeRows& rows) {
  CRegisteredObject::FillAttributes(rows);
  rows.AddAttributeRow("Toolbox Bitmap", ReadClassValue("ToolboxBitmap32"), 1);
}

void CExeServerObject::FillAttributes(AttributeRows& rows) {
  CRegisteredObject::FillAttributes(rows);
  rows.AddAttributeRow("AppID", GetAppID(), 0);
  rows.AddAttributeRow("Default Icon", ReadClassValue("DefaultIcon"), 1);
}

}  // namespace corvane
