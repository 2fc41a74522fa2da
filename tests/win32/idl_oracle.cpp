#include "tests/win32/idl_oracle.h"

#include <fstream>
#include <sstream>

namespace corvane {

namespace {

std::string Collapsed(const std::string& line) {
  std::string out;
  std::istringstream words(line);
  std::string word;
  while (words >> word) out += (out.empty() ? "" : " ") + word;
  return out;
}

std::string Without(std::string text, const std::string& part) {
  const std::size_t at = text.find(part);
  if (at != std::string::npos) text.erase(at, part.size());
  return text;
}

// "typedef [uuid(...)] enum Name {" -> "typedef enum Name"; "interface I : B {" -> "interface I".
std::string Heading(const std::string& line) {
  std::string text = line.substr(0, line.find('{'));
  const std::size_t open = text.find('[');
  if (open != std::string::npos) text.erase(open, text.find(']') - open + 1);
  text = Collapsed(text.substr(0, text.find(':')));
  return text;
}

}  // namespace

std::vector<IdlType> ReadFixtureIdl() {
  std::ifstream in(CORVANE_FIXTURE_IDL);
  std::vector<IdlType> types;
  std::string line, pending;
  bool inside = false;
  while (std::getline(in, line)) {
    line = Collapsed(line.substr(0, line.find("//")));
    if (line.empty()) continue;
    if (!inside) {
      pending += (pending.empty() ? "" : " ") + line;
      if (line.rfind("typedef [public]", 0) == 0) {  // a one-line alias
        types.push_back({Collapsed(Without(line.substr(0, line.size() - 1), "[public]")), {}});
        pending.clear();
      } else if (line.back() == '{' && pending.find("library") == std::string::npos) {
        types.push_back({Heading(pending), {}});
        inside = true;
        pending.clear();
      } else if (line.back() == ';' || line.back() == '{' || line.back() == ')') {
        pending.clear();
      }
      continue;
    }
    if (line[0] == '}') {
      inside = false;
      continue;
    }
    if (line == "properties:" || line == "methods:") continue;
    if (line.back() == ';' || line.back() == ',') line.pop_back();
    types.back().members.push_back(line);
  }
  return types;
}

const TypeLibNode* FindTypeNode(const TypeLibNode& root, const std::string& heading) {
  for (const TypeLibNode& node : root.children) {
    if (node.text.compare(0, heading.size(), heading) == 0 &&
        (node.text.size() == heading.size() || node.text[heading.size()] == ' '))
      return &node;
  }
  return nullptr;
}

std::vector<std::string> MemberTexts(const TypeLibNode& node) {
  std::vector<std::string> texts;
  for (const TypeLibNode& child : node.children)
    texts.push_back(Without(Without(child.text, " - default interface"), " - default events"));
  return texts;
}

}  // namespace corvane
