#include "update/line_reader.h"

#include <utility>

namespace corvane {

namespace {

void DropLineEnds(std::string* text) {
  std::size_t keep = text->find_last_not_of("\r\n");
  text->erase(keep == std::string::npos ? 0 : keep + 1);
}

}  // namespace

CLineReader::CLineReader(std::string text) : rest_(std::move(text)) { DropLineEnds(&rest_); }

bool CLineReader::NextLine() {
  if (rest_.empty()) return false;
  std::size_t feed = rest_.find('\n');
  if (feed == std::string::npos) {
    line_.swap(rest_);
    rest_.clear();
  } else {
    line_ = rest_.substr(0, feed);
    rest_.erase(0, feed + 1);
  }
  DropLineEnds(&line_);
  return true;
}

}  // namespace corvane
