#include "catalogue/api_set_schema.h"

#include "catalogue/byte_span.h"
#include "platform/text.h"

namespace corvane {

namespace {

constexpr std::uint32_t kVersion = 6;
constexpr std::uint64_t kHeaderSize = 28;
constexpr std::uint64_t kEntrySize = 24;
constexpr std::uint64_t kValueSize = 20;
// A contract or DLL name is never longer than a path.
constexpr std::uint32_t kMaxNameBytes = 2 * 260;

// The UTF-16 text at offset, narrowed (the names are ASCII); false when it lies outside.
bool WideText(const ByteSpan& bytes, std::uint64_t offset, std::uint32_t length,
              std::string* text) {
  if (length > kMaxNameBytes || length % 2 != 0 || !bytes.Has(offset, length)) return false;
  text->clear();
  for (std::uint32_t i = 0; i < length; i += 2) {
    const std::uint16_t c = bytes.U16(offset + i);
    text->push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return true;
}

// The key of a contract: its name without ".dll" and without what follows its last '-'.
std::string ContractKey(std::string name) {
  if (name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".dll"))
    name.resize(name.size() - 4);
  const std::size_t dash = name.find_last_of('-');
  if (dash != std::string::npos) name.resize(dash);
  return ToUpper(name);
}

}  // namespace

bool ApiSetSchema::IsContractName(const std::string& name) {
  const std::string head = ToUpper(name.substr(0, 4));
  return head == "API-" || head == "EXT-";
}

ApiSetSchema::ApiSetSchema(const std::vector<std::uint8_t>& data) {
  const ByteSpan bytes(data.data(), data.size());
  if (!bytes.Has(0, kHeaderSize) || bytes.U32(0) != kVersion) return;
  const std::uint32_t count = bytes.U32(12);
  const std::uint64_t entries = bytes.U32(16);
  if (!bytes.Has(entries, std::uint64_t{count} * kEntrySize)) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t entry = entries + i * kEntrySize;
    std::string name;
    if (!WideText(bytes, bytes.U32(entry + 4), bytes.U32(entry + 8), &name)) continue;
    const std::uint32_t value_count = bytes.U32(entry + 20);
    const std::uint64_t values = bytes.U32(entry + 16);
    if (!bytes.Has(values, std::uint64_t{value_count} * kValueSize)) continue;
    Contract contract;
    for (std::uint32_t v = 0; v < value_count; ++v) {
      const std::uint64_t value = values + v * kValueSize;
      std::string importer;
      std::string host;
      if (!WideText(bytes, bytes.U32(value + 4), bytes.U32(value + 8), &importer) ||
          !WideText(bytes, bytes.U32(value + 12), bytes.U32(value + 16), &host)) {
        continue;
      }
      // The first value is the default; later ones name the importer they are for.
      if (v == 0)
        contract.default_host = host;
      else
        contract.importer_hosts.emplace_back(ToUpper(importer), host);
    }
    contracts_.emplace(ContractKey(name), std::move(contract));
  }
  readable_ = true;
}

ApiSetSchema::Answer ApiSetSchema::Resolve(const std::string& contract,
                                           const std::string& importer_name,
                                           std::string* host) const {
  auto it = contracts_.find(ContractKey(contract));
  if (it == contracts_.end()) return Answer::kUnknown;
  *host = it->second.default_host;
  const std::string importer = ToUpper(importer_name);
  for (const auto& [name, own_host] : it->second.importer_hosts)
    if (name == importer) *host = own_host;
  return host->empty() ? Answer::kNoHost : Answer::kHost;
}

}  // namespace corvane
