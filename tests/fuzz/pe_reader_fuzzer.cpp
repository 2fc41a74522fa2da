// Fuzz target: any bytes given to the PE import reader (ordinary and delay-load tables), the
// API set schema reader, the version-resource reader and the type library layout check. They
// must never read outside the bytes (AddressSanitizer watches), never hang, and never hold more
// than the bytes in import names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/api_set_schema.h"
#include "catalogue/pe_imports.h"
#include "catalogue/type_library_layout.h"
#include "catalogue/version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::ImportTable table;
  corvane::ReadImportTable(data, size, &table);
  std::size_t held = 0;
  for (const std::string& name : table.names) held += name.size() + 1;
  for (const std::string& name : table.delay_names) held += name.size() + 1;
  if (held > size) std::abort();

  const corvane::ApiSetSchema schema(std::vector<std::uint8_t>(data, data + size));
  std::string host;
  schema.Resolve("api-ms-win-core-synch-l1-2-0.dll", "kernel32.dll", &host);

  std::vector<std::uint8_t> block;
  if (corvane::ExtractVersionResource(data, size, &block)) {
    std::uint32_t translation = 0;
    corvane::QueryVersionTranslation(block, &translation);
    std::string text;
    corvane::QueryVersionString(block, "\\StringFileInfo\\040904b0\\CompanyName", &text);
  }
  // The version block readers also take raw blocks.
  std::vector<std::uint8_t> raw(data, data + size);
  std::uint32_t translation = 0;
  corvane::QueryVersionTranslation(raw, &translation);
  std::string text;
  corvane::QueryVersionString(raw, "\\StringFileInfo\\040904b0\\FileVersion", &text);
  corvane::TypeLibLayoutSound(data, size);
  return 0;
}
