#include "catalogue/backup_reader.h"

#include <set>

#include "platform/text.h"

namespace corvane {

namespace {

class LineParser {
 public:
  explicit LineParser(const std::u16string& line) : line_(line) {}

  bool AtEnd() const { return at_ == line_.size(); }
  bool Take(const char* literal) {
    std::size_t at = at_;
    for (const char* c = literal; *c; ++c, ++at)
      if (at >= line_.size() || line_[at] != static_cast<char16_t>(*c)) return false;
    at_ = at;
    return true;
  }
  // A quoted text with \\ and \" escapes and no control character.
  bool Quoted(std::u16string* text) {
    if (!Take("\"")) return false;
    text->clear();
    while (at_ < line_.size()) {
      char16_t c = line_[at_++];
      if (c == u'"') return true;
      if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) return false;
      if (c == u'\\') {
        if (at_ == line_.size() || (line_[at_] != u'\\' && line_[at_] != u'"')) return false;
        c = line_[at_++];
      }
      *text += c;
    }
    return false;
  }
  bool Hex(std::uint32_t* value, std::size_t min_digits, std::size_t max_digits) {
    std::size_t digits = 0;
    std::uint32_t result = 0;
    while (at_ < line_.size() && digits < max_digits) {
      const int digit = Digit(line_[at_]);
      if (digit < 0) break;
      result = result << 4 | static_cast<std::uint32_t>(digit);
      ++at_;
      ++digits;
    }
    *value = result;
    return digits >= min_digits;
  }
  // "xx,xx,..." in lower-case hex, possibly none.
  bool Bytes(std::vector<std::uint8_t>* bytes) {
    bytes->clear();
    if (AtEnd()) return true;
    for (;;) {
      std::uint32_t byte = 0;
      if (at_ + 2 > line_.size() || !Hex(&byte, 2, 2)) return false;
      bytes->push_back(static_cast<std::uint8_t>(byte));
      if (AtEnd()) return true;
      if (!Take(",")) return false;
    }
  }

 private:
  static int Digit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
  }

  const std::u16string& line_;
  std::size_t at_ = 0;
};

bool ParseValue(const std::u16string& line, SavedValue* value) {
  LineParser parser(line);
  value->name.clear();
  if (!parser.Take("@") && (!parser.Quoted(&value->name) || value->name.empty())) return false;
  if (!parser.Take("=")) return false;
  std::u16string text;
  if (parser.Quoted(&text)) {
    value->type = kRegSz;
    value->data = BytesOfText(text);
    return parser.AtEnd();
  }
  if (parser.Take("dword:")) {
    std::uint32_t number = 0;
    if (!parser.Hex(&number, 8, 8) || !parser.AtEnd()) return false;
    value->type = kRegDword;
    value->data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                   static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    return true;
  }
  if (parser.Take("hex:")) {
    value->type = kRegBinary;
  } else if (parser.Take("hex(")) {
    // The writer's form: no leading zero, and REG_BINARY only as "hex:".
    if (parser.Take("0")) {
      value->type = 0;
    } else if (!parser.Hex(&value->type, 1, 8) || value->type == kRegBinary) {
      return false;
    }
    if (!parser.Take("):")) return false;
  } else {
    return false;
  }
  return parser.Bytes(&value->data);
}

bool ParsePath(const std::u16string& line, std::u16string* path) {
  const std::u16string root = std::u16string(u"[") + kClassesRootName + u"\\";
  if (line.size() <= root.size() + 1 || line.compare(0, root.size(), root) != 0 ||
      line.back() != u']')
    return false;
  *path = line.substr(root.size(), line.size() - root.size() - 1);
  std::size_t part = 0;
  for (std::size_t i = 0; i <= path->size(); ++i) {
    if (i == path->size() || (*path)[i] == u'\\') {
      if (i == part) return false;  // an empty name
      part = i + 1;
    } else if ((*path)[i] < 0x20 || (*path)[i] == 0x7F) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadBackupFile(const std::uint8_t* data, std::size_t size, std::vector<BackupSection>* keys,
                    std::string* error) {
  keys->clear();
  if (size < 2 || data[0] != 0xFF || data[1] != 0xFE || size % 2 != 0) {
    *error = "Line 1: not a Unicode registry file written by Corvane.";
    return false;
  }
  std::vector<std::u16string> lines(1);
  for (std::size_t i = 2; i < size; i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (c == u'\r' && i + 3 < size && data[i + 2] == '\n' && data[i + 3] == 0) {
      lines.emplace_back();
      i += 2;
    } else if (c == u'\r' || c == u'\n' || c == 0) {
      *error = "Line " + std::to_string(lines.size()) + ": a stray line break or zero character.";
      return false;
    } else {
      lines.back() += c;
    }
  }
  const auto fail = [&](std::size_t line, const std::string& why) {
    *error = "Line " + std::to_string(line + 1) + ": " + why;
    keys->clear();
    return false;
  };
  const std::u16string header(kRegFileHeader);
  if (lines.size() < 3 || lines[0] != header.substr(0, header.find(u'\r')) || !lines[1].empty())
    return fail(0, "the file does not begin with the registry editor's Unicode header.");
  if (!lines.back().empty()) return fail(lines.size() - 1, "the last line has no line break.");
  std::set<std::u16string> paths;
  std::size_t at = 2;
  const std::size_t end = lines.size() - 1;
  while (at < end) {
    BackupSection section;
    section.line = at + 1;
    if (!ParsePath(lines[at], &section.path))
      return fail(at, "expected a key in brackets below HKEY_CLASSES_ROOT.");
    if (!paths.insert(Folded(section.path)).second) return fail(at, "the key appears twice.");
    std::set<std::u16string> names;
    for (++at;; ++at) {
      if (at == end) return fail(at, "the file ends inside a key.");
      if (lines[at].empty()) break;
      SavedValue value;
      if (!ParseValue(lines[at], &value)) return fail(at, "not a value line Corvane writes.");
      if (!names.insert(Folded(value.name)).second) return fail(at, "the value appears twice.");
      section.values.push_back(std::move(value));
    }
    ++at;
    keys->push_back(std::move(section));
  }
  return true;
}

}  // namespace corvane
