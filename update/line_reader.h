// Splits a text into lines at line feeds, without their line-end characters.
#pragma once
#include <string>

namespace corvane {

class CLineReader {
 public:
  // Line feeds and carriage returns at the end of the text are dropped at once.
  explicit CLineReader(std::string text);

  // Moves to the next line; false when the text is used up.
  bool NextLine();
  // The current line, without its trailing carriage returns and line feeds.
  const std::string& line() const { return line_; }

 private:
  std::string rest_;
  std::string line_;
};

}  // namespace corvane
