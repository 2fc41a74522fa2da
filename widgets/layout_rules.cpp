#include "widgets/layout_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace corvane {

namespace {

// The controls of the comparison results dialog.
constexpr std::int32_t kCloseButton = 2;
constexpr std::int32_t kResultsList = 1015;
constexpr std::int32_t kFrame = 1052;
constexpr std::int32_t kNoteText = 1053;
constexpr std::int32_t kHtmlButton = 1054;

// a * b / c rounded half away from zero, as MapDialogRect scales.
std::int32_t ScaleRounded(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return 0;
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(static_cast<long long>(c)) / 2;
  const bool negative = (product < 0) != (c < 0);
  const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool Horizontal(std::int32_t side) { return side == kMetricLeft || side == kMetricRight; }

// Fills in the third of start, end and size of each axis when two are known.
void Derive(LayoutEntry& entry) {
  const int axes[2][3] = {{kMetricLeft, kMetricRight, kMetricWidth},
                          {kMetricTop, kMetricBottom, kMetricHeight}};
  for (const auto& axis : axes) {
    std::int32_t* m = entry.metric;
    bool* known = entry.resolved;
    const int start = axis[0], end = axis[1], size = axis[2];
    if (known[start] && known[end] && !known[size]) {
      m[size] = m[end] - m[start];
      known[size] = true;
    } else if (known[start] && known[size] && !known[end]) {
      m[end] = m[start] + m[size];
      known[end] = true;
    } else if (known[end] && known[size] && !known[start]) {
      m[start] = m[end] - m[size];
      known[start] = true;
    }
  }
}

LayoutEntry* Find(std::vector<LayoutEntry>& entries, std::int32_t id) {
  for (LayoutEntry& entry : entries)
    if (entry.id == id) return &entry;
  return nullptr;
}

bool IsCentring(const LayoutRule& rule) {
  return rule.action == kLayoutCentreVertically || rule.action == kLayoutCentreHorizontally;
}

bool InRange(std::int32_t id, const LayoutRule& range) {
  return id >= range.target_id && id <= range.last_id;
}

// The first text of a table that breaks the rules, or empty.
std::string Check(std::vector<LayoutEntry>& entries, const std::vector<LayoutRule>& rules) {
  for (const LayoutRule& rule : rules) {
    if (rule.action < kLayoutStretch || rule.action > kLayoutCentreHorizontally)
      return "Invalid action";
    if (rule.side < kMetricLeft || rule.side > kMetricBottom) return "Invalid side";
    if (rule.source_metric < kMetricLeft || rule.source_metric > kMetricCentre)
      return "Invalid metric";
    if (Find(entries, rule.source_id) == nullptr) return "Child not found in child list";
    if (IsCentring(rule)) {
      if (std::none_of(entries.begin(), entries.end(),
                       [&rule](const LayoutEntry& entry) { return InRange(entry.id, rule); }))
        return "Child not found in child list";
    } else if (Find(entries, rule.target_id) == nullptr) {
      return "Child not found in child list";
    }
  }
  return std::string();
}

void Invalidate(std::vector<LayoutEntry>& entries, const LayoutRule& rule) {
  if (IsCentring(rule)) {
    const bool across = rule.action == kLayoutCentreHorizontally;
    for (LayoutEntry& entry : entries) {
      if (entry.id == kLayoutEndOfControls || !InRange(entry.id, rule)) continue;
      entry.unchanged = false;
      entry.resolved[across ? kMetricLeft : kMetricTop] = false;
      entry.resolved[across ? kMetricRight : kMetricBottom] = false;
    }
    return;
  }
  LayoutEntry* target = Find(entries, rule.target_id);
  target->unchanged = false;
  target->resolved[rule.side] = false;
  if (rule.action == kLayoutStretch)
    target->resolved[Horizontal(rule.side) ? kMetricWidth : kMetricHeight] = false;
  else
    target->resolved[rule.side ^ 2] = false;  // left <-> right, top <-> bottom
}

// The rule's source value, or false when it is not known yet.
bool SourceValue(std::vector<LayoutEntry>& entries, const LayoutRule& rule, std::int32_t* value) {
  const LayoutEntry& source = *Find(entries, rule.source_id);
  if (rule.source_metric == kMetricCentre) {
    const int start = Horizontal(rule.side) ? kMetricLeft : kMetricTop;
    const int end = start + 2;
    if (!source.resolved[start] || !source.resolved[end]) return false;
    *value = (source.metric[start] + source.metric[end]) / 2;
    return true;
  }
  if (!source.resolved[rule.source_metric]) return false;
  *value = source.metric[rule.source_metric];
  if (rule.source_metric == kMetricWidth || rule.source_metric == kMetricHeight)
    *value = static_cast<std::int32_t>(static_cast<long long>(*value) * rule.percent / 100);
  return true;
}

bool ApplySideRule(std::vector<LayoutEntry>& entries, LayoutRule& rule) {
  std::int32_t value = 0;
  if (!SourceValue(entries, rule, &value)) return false;
  LayoutEntry& target = *Find(entries, rule.target_id);
  target.metric[rule.side] = value + rule.offset_pixels;
  target.resolved[rule.side] = true;
  Derive(target);
  rule.done = 1;
  return true;
}

// Moves the range's controls together so that their bounding box is centred in the source's
// extent. False when it cannot be applied yet; *broken when the range's own rules cannot be.
bool ApplyCentring(std::vector<LayoutEntry>& entries, std::vector<LayoutRule>& rules,
                   LayoutRule& rule, bool* broken) {
  const bool across = rule.action == kLayoutCentreHorizontally;
  const int start = across ? kMetricLeft : kMetricTop;
  const int end = across ? kMetricRight : kMetricBottom;
  const int size = across ? kMetricWidth : kMetricHeight;
  for (const LayoutEntry& entry : entries)
    if (entry.id != kLayoutEndOfControls && InRange(entry.id, rule) && !entry.resolved[size])
      return false;
  const LayoutEntry& source = *Find(entries, rule.source_id);
  if (!source.resolved[start] || !source.resolved[end]) return false;

  // The range's own rules on this axis, solved on a copy whose range controls start where the
  // snapshot had them (invalidation clears the flags, not the values).
  std::vector<LayoutEntry> copy = entries;
  for (LayoutEntry& entry : copy) {
    if (entry.id == kLayoutEndOfControls || !InRange(entry.id, rule)) continue;
    if (!entry.resolved[start]) {
      entry.resolved[start] = true;
      entry.resolved[end] = false;
      Derive(entry);
    }
  }
  std::vector<LayoutRule> own;
  for (const LayoutRule& other : rules)
    if (!IsCentring(other) && InRange(other.target_id, rule) &&
        Horizontal(other.side) == across)
      own.push_back(other);
  for (bool progress = true; progress;) {
    progress = false;
    for (LayoutRule& other : own)
      if (!other.done && ApplySideRule(copy, other)) progress = true;
  }
  for (const LayoutRule& other : own) {
    if (!other.done) {
      *broken = true;
      return false;
    }
  }

  std::int32_t box_start = 0, box_end = 0;
  bool first = true;
  for (const LayoutEntry& entry : copy) {
    if (entry.id == kLayoutEndOfControls || !InRange(entry.id, rule)) continue;
    box_start = first ? entry.metric[start] : std::min(box_start, entry.metric[start]);
    box_end = first ? entry.metric[end] : std::max(box_end, entry.metric[end]);
    first = false;
  }
  const std::int32_t source_size = source.metric[end] - source.metric[start];
  const std::int32_t shift = source.metric[start] + (source_size - (box_end - box_start)) / 2 -
                             box_start + rule.offset_pixels;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    LayoutEntry& entry = entries[i];
    if (entry.id == kLayoutEndOfControls || !InRange(entry.id, rule)) continue;
    entry.metric[start] = copy[i].metric[start] + shift;
    entry.metric[end] = copy[i].metric[end] + shift;
    entry.resolved[start] = entry.resolved[end] = true;
    Derive(entry);
  }
  for (LayoutRule& other : rules)
    if (!IsCentring(other) && InRange(other.target_id, rule) && Horizontal(other.side) == across)
      other.done = 1;
  rule.done = 1;
  return true;
}

}  // namespace

LayoutEntry MakeLayoutEntry(std::int32_t id, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom) {
  LayoutEntry entry;
  entry.id = id;
  entry.metric[kMetricLeft] = left;
  entry.metric[kMetricTop] = top;
  entry.metric[kMetricRight] = right;
  entry.metric[kMetricBottom] = bottom;
  for (int side = kMetricLeft; side <= kMetricBottom; ++side) entry.resolved[side] = true;
  Derive(entry);
  return entry;
}

DialogBaseUnits BaseUnitsFromTextExtent(std::int32_t width, std::int32_t height) {
  DialogBaseUnits units;
  units.base_x = ((width / 26) + 1) / 2;
  units.base_y = height;
  return units;
}

const char* LayoutMetricName(std::int32_t metric) {
  static const char* const kNames[] = {"left", "top", "right", "bottom", "width", "height"};
  return metric >= 0 && metric < 6 ? kNames[metric] : "";
}

LayoutOutcome SolveLayout(std::vector<LayoutEntry>& entries, std::vector<LayoutRule> rules,
                          const DialogBaseUnits& units) {
  LayoutOutcome outcome;
  auto end = std::find_if(rules.begin(), rules.end(),
                          [](const LayoutRule& rule) { return rule.action == kLayoutEnd; });
  rules.erase(end, rules.end());
  auto last = std::find_if(entries.begin(), entries.end(), [](const LayoutEntry& entry) {
    return entry.id == kLayoutEndOfControls;
  });
  std::vector<LayoutEntry> solved(entries.begin(), last);

  outcome.assertion = Check(solved, rules);
  if (!outcome.assertion.empty()) return outcome;

  for (LayoutRule& rule : rules) {
    Invalidate(solved, rule);
    rule.offset_pixels = Horizontal(rule.side) ? ScaleRounded(rule.offset, units.base_x, 4)
                                               : ScaleRounded(rule.offset, units.base_y, 8);
    rule.done = 0;
  }
  for (bool progress = true; progress;) {
    progress = false;
    for (LayoutRule& rule : rules) {
      if (rule.done) continue;
      bool broken = false;
      const bool applied =
          IsCentring(rule) ? ApplyCentring(solved, rules, rule, &broken) : ApplySideRule(solved, rule);
      if (broken) {
        outcome.assertion = "Unable to apply rules to centered children";
        return outcome;
      }
      progress = progress || applied;
    }
  }
  for (const LayoutRule& rule : rules) {
    if (!rule.done) {
      outcome.assertion = "Unable to apply rules";
      return outcome;
    }
  }

  for (const LayoutEntry& entry : solved) {
    for (int metric = kMetricLeft; metric <= kMetricHeight; ++metric) {
      if (entry.resolved[metric]) continue;
      char text[96];
      std::snprintf(text, sizeof text, "Layout couldn't find %s of id=%d", LayoutMetricName(metric),
                    static_cast<int>(entry.id));
      outcome.unresolved.push_back(text);
      break;
    }
  }
  std::copy(solved.begin(), solved.end(), entries.begin());
  return outcome;
}

const std::vector<LayoutRule>& CompareResultsLayoutRules() {
  static const std::vector<LayoutRule> kRules = {
      {kLayoutStretch, kMetricRight, kFrame, 0, kMetricRight, kLayoutDialogId, 100, -2, 0, 0},
      {kLayoutStretch, kMetricBottom, kFrame, 0, kMetricBottom, kLayoutDialogId, 100, -2, 0, 0},
      {kLayoutStretch, kMetricRight, kResultsList, 0, kMetricRight, kFrame, 100, -3, 0, 0},
      {kLayoutMove, kMetricRight, kCloseButton, 0, kMetricRight, kResultsList, 100, 0, 0, 0},
      {kLayoutMove, kMetricBottom, kCloseButton, 0, kMetricBottom, kFrame, 100, -5, 0, 0},
      {kLayoutStretch, kMetricBottom, kResultsList, 0, kMetricTop, kCloseButton, 100, -4, 0, 0},
      {kLayoutMove, kMetricTop, kNoteText, 0, kMetricTop, kCloseButton, 100, 0, 0, 0},
      {kLayoutMove, kMetricTop, kHtmlButton, 0, kMetricTop, kCloseButton, 100, 0, 0, 0},
      {kLayoutMove, kMetricRight, kHtmlButton, 0, kMetricLeft, kCloseButton, 100, -3, 0, 0},
      {kLayoutEnd, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  return kRules;
}

const std::vector<LayoutRule>& RestoreBackupsLayoutRules() {
  constexpr std::int32_t kList = 3002, kRestore = 3003, kDelete = 3004, kFolder = 3005,
                         kHelp = 3006, kClose = 2;
  static const std::vector<LayoutRule> kRules = {
      {kLayoutMove, kMetricRight, kClose, 0, kMetricRight, kLayoutDialogId, 100, -7, 0, 0},
      {kLayoutMove, kMetricBottom, kClose, 0, kMetricBottom, kLayoutDialogId, 100, -7, 0, 0},
      {kLayoutStretch, kMetricRight, kList, 0, kMetricRight, kClose, 100, 0, 0, 0},
      {kLayoutStretch, kMetricBottom, kList, 0, kMetricTop, kClose, 100, -6, 0, 0},
      {kLayoutMove, kMetricTop, kRestore, 0, kMetricTop, kClose, 100, 0, 0, 0},
      {kLayoutMove, kMetricTop, kDelete, 0, kMetricTop, kClose, 100, 0, 0, 0},
      {kLayoutMove, kMetricTop, kFolder, 0, kMetricTop, kClose, 100, 0, 0, 0},
      {kLayoutMove, kMetricTop, kHelp, 0, kMetricTop, kClose, 100, 0, 0, 0},
      {kLayoutEnd, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  return kRules;
}

}  // namespace corvane
