// The loader's API set schema: which host DLL implements an "api-" or "ext-" contract. Read
// from the namespace's bytes (layout version 6, Windows 10 on and Wine), every read kept
// inside them.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace corvane {

class ApiSetSchema {
 public:
  enum class Answer { kUnknown, kNoHost, kHost };

  explicit ApiSetSchema(const std::vector<std::uint8_t>& bytes);

  // True when name starts with "api-" or "ext-", in any case: a contract, not a file.
  static bool IsContractName(const std::string& name);
  // False when the bytes are no schema this reader knows: then nothing can be resolved.
  bool readable() const { return readable_; }
  // The contract's host for an importer (its file name): the importer's own host where the
  // schema names one for it, else the default. Matched without regard to case and without
  // the contract's last version number, with or without ".dll".
  Answer Resolve(const std::string& contract, const std::string& importer_name,
                 std::string* host) const;

 private:
  struct Contract {
    std::string default_host;
    std::vector<std::pair<std::string, std::string>> importer_hosts;  // upper importer, host
  };
  bool readable_ = false;
  std::unordered_map<std::string, Contract> contracts_;  // upper-cased name up to its last '-'
};

}  // namespace corvane
