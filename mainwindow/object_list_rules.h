// How the object list shows a record: its label, its image and whether the filters show it.
#pragma once
#include <string>

#include "catalogue/registered_object.h"

namespace corvane {

// Label choices of the object list; any other value labels like kLabelProgId.
enum ListLabel { kLabelProgId = 0, kLabelClsid = 1, kLabelFilePath = 2, kLabelTypeLib = 3 };

// Images of the object list: the three categories, a missing server file, a missing DLL, a
// broken type library registration.
constexpr int kImageMisbehaved = 3;
constexpr int kImageMissingDependency = 4;
constexpr int kImageBrokenTypeLib = 5;

std::string RecordLabel(const CRegisteredObject& record, int display_in_list);
// The category's image for a well-behaved record, else the misbehaved image.
int RecordImage(const CRegisteredObject& record, int category);
bool RecordShown(const CRegisteredObject& record, int display_installed, int display_missing);
// The misbehaved and missing-DLL images are drawn red, bold and underlined; a broken type
// library leaves the record well behaved.
inline bool DrawnMisbehaved(int image) {
  return image == kImageMisbehaved || image == kImageMissingDependency;
}
// "Items: %ld".
std::string ItemCountText(long count);

}  // namespace corvane
