// Layout rules of a resizable dialog: each rule ties one side of a control to a metric of
// another control or of the dialog's client area. The solver works on a snapshot of the
// controls' rectangles and leaves moving the windows to its caller.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

enum LayoutMetric : std::int32_t {
  kMetricLeft = 0,
  kMetricTop = 1,
  kMetricRight = 2,
  kMetricBottom = 3,
  kMetricWidth = 4,
  kMetricHeight = 5,
  kMetricCentre = 6,  // the middle of the rule's axis, as a source only
};

enum LayoutAction : std::int32_t {
  kLayoutStretch = 0,
  kLayoutMove = 1,
  kLayoutCentreVertically = 2,
  kLayoutCentreHorizontally = 3,
  kLayoutEnd = 4,
};

constexpr std::int32_t kLayoutDialogId = 0x10000;
constexpr std::int32_t kLayoutEndOfControls = 0x10001;

struct LayoutRule {
  std::int32_t action;
  std::int32_t side;
  std::int32_t target_id;
  std::int32_t last_id;        // end of the id range of a centring rule
  std::int32_t source_metric;
  std::int32_t source_id;
  std::int32_t percent;        // share of a width or height source
  std::int32_t offset;         // dialog units
  std::int32_t done;
  std::int32_t offset_pixels;
};

// One control, or the dialog's client area under kLayoutDialogId. Metrics are indexed by
// LayoutMetric 0..5.
struct LayoutEntry {
  std::int32_t id = 0;
  std::int32_t metric[6] = {};
  bool resolved[6] = {};
  bool unchanged = true;
};

// A snapshot entry whose four sides are known; width and height are derived from them.
LayoutEntry MakeLayoutEntry(std::int32_t id, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom);

// Dialog units to pixels: x = units * base_x / 4, y = units * base_y / 8.
struct DialogBaseUnits {
  std::int32_t base_x = 4;
  std::int32_t base_y = 8;
};

// The base units of a window that is not a dialog, from the extent of the 52 letters in its
// font.
DialogBaseUnits BaseUnitsFromTextExtent(std::int32_t width, std::int32_t height);

// Names used in the reports: "left", "top", "right", "bottom", "width", "height".
const char* LayoutMetricName(std::int32_t metric);

struct LayoutOutcome {
  // Empty when the rules could be applied; else the text of the "Assertion Failed" report,
  // and the layout must not be applied.
  std::string assertion;
  // One "Layout couldn't find %s of id=%d" text per control left with an unknown metric; the
  // layout is applied all the same.
  std::vector<std::string> unresolved;

  bool applied() const { return assertion.empty(); }
};

// Solves the rules (up to the first kLayoutEnd) over the snapshot. On success every entry
// that a rule touched has unchanged false and its new rectangle.
LayoutOutcome SolveLayout(std::vector<LayoutEntry>& entries, std::vector<LayoutRule> rules,
                          const DialogBaseUnits& units);

// The rule table of the comparison results dialog.
const std::vector<LayoutRule>& CompareResultsLayoutRules();
// Restore Removed Registrations: the list grows with the dialog, the buttons keep to its
// bottom and Close to its right.
const std::vector<LayoutRule>& RestoreBackupsLayoutRules();

}  // namespace corvane
