// The news document's "@@Version" marker lines: each becomes a heading or goes away.
#pragma once
#include <string>

#include "update/version_number.h"

namespace corvane {

inline constexpr char kNewsMarker[] = "@@Version";

enum class MarkerAction { kNewChangesHeading, kOldChangesHeading, kRemove };

// Walks the marker lines in document order: the first marker newer than the installed version
// becomes the new-changes heading, the first of the installed or an older version the
// old-changes heading, and every other marker line is removed.
class NewsMarkerRule {
 public:
  explicit NewsMarkerRule(const CVersionNumber& installed) : installed_(installed) {}

  // The action for the next marker line; `marker_text` is what follows "@@Version" on it.
  MarkerAction Next(const std::string& marker_text);

 private:
  CVersionNumber installed_;
  bool new_placed_ = false;
  bool old_placed_ = false;
};

// A heading from the update information: each backslash-and-n becomes a line break (CR LF).
std::string ExpandHeading(const std::string& heading);

}  // namespace corvane
