// An in-memory network neighbourhood: containers by remote name, their entries in order, and
// faults tests inject by container name.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/network.h"

namespace corvane {

class MemoryNetwork : public Network {
 public:
  long OpenEnum(const NetResource* container, Enumeration* out) override;
  long EnumResource(Enumeration enumeration, std::uint32_t* count, std::uint32_t buffer_size,
                    std::vector<NetResource>* entries) override;
  long CloseEnum(Enumeration enumeration) override;
  bool BrowseForComputer(std::uintptr_t owner, const std::string& title,
                         std::string* name) override;

  // Adds an entry below the container of that remote name ("" is the top of the network).
  void AddContainer(const std::string& parent, const std::string& name,
                    std::uint32_t display_type);
  void AddServer(const std::string& parent, const std::string& remote_name);
  void AddEntry(const std::string& parent, const NetResource& entry);

  void RefuseOpen(const std::string& container, long error = kErrorNoNetwork) {
    refused_[container] = error;
  }
  void FailClose(const std::string& container) { failing_close_.insert(container); }
  // At most this many entries per EnumResource call.
  void set_batch(std::uint32_t batch) { batch_ = batch; }
  // What the next browse returns; empty: the user cancels.
  void set_browsed(const std::string& name) { browsed_ = name; }

  std::size_t OpenCount() const { return open_.size(); }
  // The counts asked for, call by call.
  const std::vector<std::uint32_t>& asked() const { return asked_; }

 private:
  struct Open {
    std::string container;
    std::size_t next = 0;
  };
  std::map<std::string, std::vector<NetResource>> children_;
  std::map<std::string, long> refused_;
  std::set<std::string> failing_close_;
  std::map<Enumeration, Open> open_;
  Enumeration next_handle_ = 0x100;
  std::uint32_t batch_ = 0xFFFFFFFF;
  std::string browsed_;
  std::vector<std::uint32_t> asked_;
};

}  // namespace corvane
