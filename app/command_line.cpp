#include "app/command_line.h"

#include <cctype>
#include <cstring>

namespace corvane {

std::string ArgumentsOf(const std::string& full_command_line) {
  std::size_t at = 0;
  if (!full_command_line.empty() && full_command_line[0] == '"') {
    std::size_t close = full_command_line.find('"', 1);
    at = close == std::string::npos ? full_command_line.size() : close + 1;
  } else {
    while (at < full_command_line.size() && full_command_line[at] != ' ' &&
           full_command_line[at] != '\t') {
      ++at;
    }
  }
  while (at < full_command_line.size() &&
         (full_command_line[at] == ' ' || full_command_line[at] == '\t')) {
    ++at;
  }
  return full_command_line.substr(at);
}

StartRequest ParseStartRequest(const std::string& arguments) {
  StartRequest request;
  if (arguments.empty()) {
    request.rewrite_shell_verbs = true;
    return request;
  }
  if (arguments.size() <= 3) return request;
  std::string upper = arguments;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string flag = upper.substr(0, 2);
  if (flag == "-R") {
    request.action = StartAction::kRegister;
  } else if (flag == "-U") {
    request.action = StartAction::kUnregister;
  } else if (flag == "-V") {
    request.action = StartAction::kViewDetails;
  } else if (flag == "-C") {
    request.action = StartAction::kCompare;
  } else {
    return request;
  }
  request.path = upper.substr(3);
  return request;
}

std::vector<std::string> ChosenFiles(const char* buffer, std::size_t size, std::size_t name_offset,
                                     std::string* folder) {
  std::vector<std::string> files;
  if (buffer == nullptr || name_offset == 0 || name_offset >= size) return files;
  *folder = std::string(buffer, name_offset - 1);
  const char* end = buffer + size;
  for (const char* name = buffer + name_offset; name < end && *name != '\0';) {
    const char* stop = static_cast<const char*>(std::memchr(name, '\0', end - name));
    if (stop == nullptr) return {};  // a name that runs off the buffer
    files.push_back(*folder + "\\" + std::string(name, stop));
    name = stop + 1;
  }
  return files;
}

}  // namespace corvane
