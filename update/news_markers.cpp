#include "update/news_markers.h"

namespace corvane {

MarkerAction NewsMarkerRule::Next(const std::string& marker_text) {
  // Blanks around the number need no trimming: each part is read past leading blanks and up
  // to its first non-digit.
  const bool newer = CVersionNumber(marker_text).Compare(installed_) >= kVersionFourthNewer;
  bool& placed = newer ? new_placed_ : old_placed_;
  if (placed) return MarkerAction::kRemove;
  placed = true;
  return newer ? MarkerAction::kNewChangesHeading : MarkerAction::kOldChangesHeading;
}

std::string ExpandHeading(const std::string& heading) {
  std::string expanded;
  for (std::size_t i = 0; i < heading.size(); ++i) {
    if (heading[i] == '\\' && i + 1 < heading.size() && heading[i + 1] == 'n') {
      expanded += "\r\n";
      ++i;
    } else {
      expanded += heading[i];
    }
  }
  return expanded;
}

}  // namespace corvane
