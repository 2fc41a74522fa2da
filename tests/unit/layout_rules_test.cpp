#include "widgets/layout_rules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// Base units of 8 by 16 pixels: one horizontal dialog unit is 2 pixels, one vertical 2.
const DialogBaseUnits kUnits{8, 16};

const LayoutEntry* Entry(const std::vector<LayoutEntry>& entries, std::int32_t id) {
  for (const LayoutEntry& entry : entries)
    if (entry.id == id) return &entry;
  return nullptr;
}

// The results dialog as it was made: 400 by 300 pixels of client area.
std::vector<LayoutEntry> ResultsDialog(int width, int height) {
  return {MakeLayoutEntry(kLayoutDialogId, 0, 0, width, height),
          MakeLayoutEntry(1052, 3, 3, 397, 297),     // frame
          MakeLayoutEntry(0xFFFF, 10, 8, 60, 18),    // "Results"
          MakeLayoutEntry(1015, 10, 20, 390, 250),   // results list
          MakeLayoutEntry(1053, 10, 262, 250, 285),  // note
          MakeLayoutEntry(1054, 260, 262, 320, 285),  // HTML
          MakeLayoutEntry(2, 325, 262, 390, 285),    // Close
          MakeLayoutEntry(kLayoutEndOfControls, 0, 0, 0, 0)};
}

std::int32_t M(const std::vector<LayoutEntry>& entries, std::int32_t id, int metric) {
  return Entry(entries, id)->metric[metric];
}

TEST(LayoutRulesTest, ResultsDialogKeepsButtonsInTheCornerAndTheListFillingTheRest) {
  const int sizes[][2] = {{600, 500}, {400, 300}, {250, 180}, {1200, 700}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(size[0]);
    std::vector<LayoutEntry> entries = ResultsDialog(size[0], size[1]);
    LayoutOutcome outcome = SolveLayout(entries, CompareResultsLayoutRules(), kUnits);
    ASSERT_TRUE(outcome.applied()) << outcome.assertion;
    EXPECT_TRUE(outcome.unresolved.empty());

    // Frame 2 units (4 pixels) inside the client area's right and bottom edges.
    EXPECT_EQ(M(entries, 1052, kMetricRight), size[0] - 4);
    EXPECT_EQ(M(entries, 1052, kMetricBottom), size[1] - 4);
    // Close: bottom right, 5 units above the frame's bottom, its size kept.
    EXPECT_EQ(M(entries, 2, kMetricRight), size[0] - 4 - 6);
    EXPECT_EQ(M(entries, 2, kMetricBottom), size[1] - 4 - 10);
    EXPECT_EQ(M(entries, 2, kMetricWidth), 65);
    EXPECT_EQ(M(entries, 2, kMetricHeight), 23);
    // HTML 3 units left of Close, on its line, its size kept.
    EXPECT_EQ(M(entries, 1054, kMetricRight), M(entries, 2, kMetricLeft) - 6);
    EXPECT_EQ(M(entries, 1054, kMetricTop), M(entries, 2, kMetricTop));
    EXPECT_EQ(M(entries, 1054, kMetricWidth), 60);
    // The note moves down with the buttons; its left edge and width stay.
    EXPECT_EQ(M(entries, 1053, kMetricTop), M(entries, 2, kMetricTop));
    EXPECT_EQ(M(entries, 1053, kMetricLeft), 10);
    EXPECT_EQ(M(entries, 1053, kMetricHeight), 23);
    // The list keeps its top left and reaches Close's right edge and 4 units above it.
    EXPECT_EQ(M(entries, 1015, kMetricLeft), 10);
    EXPECT_EQ(M(entries, 1015, kMetricTop), 20);
    EXPECT_EQ(M(entries, 1015, kMetricRight), M(entries, 2, kMetricRight));
    EXPECT_EQ(M(entries, 1015, kMetricBottom), M(entries, 2, kMetricTop) - 8);
    EXPECT_EQ(M(entries, 1015, kMetricHeight),
              M(entries, 1015, kMetricBottom) - M(entries, 1015, kMetricTop));

    EXPECT_TRUE(Entry(entries, 0xFFFF)->unchanged);
    EXPECT_EQ(M(entries, 0xFFFF, kMetricRight), 60);
    EXPECT_FALSE(Entry(entries, 1015)->unchanged);
  }
}

TEST(LayoutRulesTest, BrokenTablesAreReportedAndNothingIsMoved) {
  struct Case {
    LayoutRule rule;
    const char* text;
  };
  const Case cases[] = {
      {{7, kMetricRight, 2, 0, kMetricRight, kLayoutDialogId, 100, 0, 0, 0}, "Invalid action"},
      {{kLayoutMove, 5, 2, 0, kMetricRight, kLayoutDialogId, 100, 0, 0, 0}, "Invalid side"},
      {{kLayoutMove, kMetricRight, 2, 0, 9, kLayoutDialogId, 100, 0, 0, 0}, "Invalid metric"},
      {{kLayoutMove, kMetricRight, 999, 0, kMetricRight, kLayoutDialogId, 100, 0, 0, 0},
       "Child not found in child list"},
      {{kLayoutMove, kMetricRight, 2, 0, kMetricRight, 998, 100, 0, 0, 0},
       "Child not found in child list"},
      {{kLayoutCentreHorizontally, kMetricLeft, 3000, 3010, kMetricLeft, kLayoutDialogId, 100, 0,
        0, 0},
       "Child not found in child list"},
  };
  for (const Case& c : cases) {
    std::vector<LayoutEntry> entries = ResultsDialog(600, 500);
    std::vector<LayoutRule> rules = CompareResultsLayoutRules();
    rules.insert(rules.begin() + 2, c.rule);
    EXPECT_EQ(SolveLayout(entries, rules, kUnits).assertion, c.text);
    for (const LayoutEntry& entry : entries) EXPECT_TRUE(entry.unchanged) << entry.id;
  }

  // Two controls whose right edges follow each other can never be placed.
  std::vector<LayoutEntry> entries = ResultsDialog(600, 500);
  std::vector<LayoutRule> cycle = {
      {kLayoutMove, kMetricRight, 1054, 0, kMetricRight, 2, 100, 0, 0, 0},
      {kLayoutMove, kMetricRight, 2, 0, kMetricRight, 1054, 100, 0, 0, 0},
      {kLayoutEnd, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
  EXPECT_EQ(SolveLayout(entries, cycle, kUnits).assertion, "Unable to apply rules");
  EXPECT_EQ(M(entries, 2, kMetricRight), 390);

  // A centred range whose own rule waits for a control that waits for the range.
  std::vector<LayoutRule> centred = {
      {kLayoutStretch, kMetricRight, 1053, 0, kMetricLeft, 1054, 100, 0, 0, 0},
      {kLayoutCentreHorizontally, kMetricLeft, 1054, 1054, kMetricLeft, kLayoutDialogId, 100, 0,
       0, 0},
      {kLayoutMove, kMetricLeft, 1054, 0, kMetricRight, 1053, 100, 0, 0, 0},
      {kLayoutEnd, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
  EXPECT_EQ(SolveLayout(entries, centred, kUnits).assertion,
            "Unable to apply rules to centered children");
}

TEST(LayoutRulesTest, AMetricNoRuleFixesIsReportedOncePerControlAndTheRestApplied) {
  std::vector<LayoutEntry> entries = ResultsDialog(600, 500);
  // A stretch and a move of the same side: left and width are both lost.
  std::vector<LayoutRule> rules = {
      {kLayoutStretch, kMetricRight, 1054, 0, kMetricRight, kLayoutDialogId, 100, 0, 0, 0},
      {kLayoutMove, kMetricRight, 1054, 0, kMetricRight, kLayoutDialogId, 100, -5, 0, 0},
      {kLayoutMove, kMetricBottom, 2, 0, kMetricBottom, kLayoutDialogId, 100, 0, 0, 0},
      {kLayoutEnd, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
  LayoutOutcome outcome = SolveLayout(entries, rules, kUnits);
  EXPECT_TRUE(outcome.applied());
  ASSERT_EQ(outcome.unresolved.size(), 1u);
  EXPECT_EQ(outcome.unresolved[0], "Layout couldn't find left of id=1054");
  EXPECT_EQ(M(entries, 1054, kMetricRight), 590);
  EXPECT_EQ(M(entries, 2, kMetricBottom), 500);
  EXPECT_EQ(M(entries, 2, kMetricTop), 477);
}

TEST(LayoutRulesTest, CentringMovesTheRangeAsOneBlockAndSourcesCanBeShares) {
  std::vector<LayoutEntry> entries = {MakeLayoutEntry(kLayoutDialogId, 0, 0, 500, 200),
                                      MakeLayoutEntry(10, 20, 150, 100, 170),
                                      MakeLayoutEntry(11, 110, 150, 190, 170),
                                      MakeLayoutEntry(20, 0, 0, 50, 40)};
  std::vector<LayoutRule> rules = {
      {kLayoutCentreHorizontally, kMetricLeft, 10, 11, kMetricLeft, kLayoutDialogId, 100, 0, 0,
       0},
      // Half the dialog's width: the right edge of control 20.
      {kLayoutStretch, kMetricRight, 20, 0, kMetricWidth, kLayoutDialogId, 50, 0, 0, 0},
      // Its bottom at the middle of the dialog's height.
      {kLayoutStretch, kMetricBottom, 20, 0, kMetricCentre, kLayoutDialogId, 100, 0, 0, 0},
      {kLayoutEnd, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
  LayoutOutcome outcome = SolveLayout(entries, rules, kUnits);
  ASSERT_TRUE(outcome.applied()) << outcome.assertion;
  // The block of 170 pixels sits at (500 - 170) / 2 = 165; the gap between the two is kept.
  EXPECT_EQ(M(entries, 10, kMetricLeft), 165);
  EXPECT_EQ(M(entries, 10, kMetricRight), 245);
  EXPECT_EQ(M(entries, 11, kMetricLeft), 255);
  EXPECT_EQ(M(entries, 11, kMetricTop), 150);
  EXPECT_EQ(M(entries, 20, kMetricRight), 250);
  EXPECT_EQ(M(entries, 20, kMetricBottom), 100);
}

TEST(LayoutRulesTest, TextExtentGivesTheBaseUnits) {
  DialogBaseUnits units = BaseUnitsFromTextExtent(312, 13);  // 52 letters of 6 pixels
  EXPECT_EQ(units.base_x, 6);
  EXPECT_EQ(units.base_y, 13);
}

}  // namespace
}  // namespace corvane
