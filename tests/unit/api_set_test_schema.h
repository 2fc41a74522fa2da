// API set schemas (layout version 6) built in memory for tests.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

struct TestContract {
  std::string name;          // without ".dll", with its full version
  std::string default_host;  // empty: the schema names no host
  std::vector<std::pair<std::string, std::string>> importer_hosts;
};

inline std::vector<std::uint8_t> BuildApiSetSchema(const std::vector<TestContract>& contracts) {
  std::vector<std::uint8_t> out(28 + 24 * contracts.size(), 0);
  auto put32 = [&out](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  auto text = [&out](const std::string& s) {
    const auto at = static_cast<std::uint32_t>(out.size());
    for (char c : s) {
      out.push_back(static_cast<std::uint8_t>(c));
      out.push_back(0);
    }
    return std::make_pair(at, static_cast<std::uint32_t>(2 * s.size()));
  };
  put32(0, 6);
  put32(12, static_cast<std::uint32_t>(contracts.size()));
  put32(16, 28);
  for (std::size_t i = 0; i < contracts.size(); ++i) {
    const TestContract& contract = contracts[i];
    std::vector<std::pair<std::string, std::string>> values{{"", contract.default_host}};
    values.insert(values.end(), contract.importer_hosts.begin(), contract.importer_hosts.end());
    const auto name = text(contract.name);
    const auto values_at = static_cast<std::uint32_t>(out.size());
    out.resize(out.size() + 20 * values.size(), 0);
    for (std::size_t v = 0; v < values.size(); ++v) {
      const auto importer = text(values[v].first);
      const auto host = text(values[v].second);
      const std::size_t value = values_at + 20 * v;
      put32(value + 4, importer.first);
      put32(value + 8, importer.second);
      put32(value + 12, host.first);
      put32(value + 16, host.second);
    }
    const std::size_t entry = 28 + 24 * i;
    put32(entry + 4, name.first);
    put32(entry + 8, name.second);
    put32(entry + 16, values_at);
    put32(entry + 20, static_cast<std::uint32_t>(values.size()));
  }
  put32(4, static_cast<std::uint32_t>(out.size()));
  return out;
}

}  // namespace corvane
