// The registry views a console command shows, from its --view option.
#pragma once
#include <string>
#include <vector>

#include "platform/registry_view.h"
#include "platform/text.h"

struct CliViews {
  std::vector<corvane::RegistryView> views{corvane::kBuildView};
  bool column = false;  // --view both: each line starts with the view's field

  // "32", or "64", and its comma when the view has a column; else nothing.
  std::string Column(corvane::RegistryView view) const {
    return column ? corvane::CsvField(corvane::ViewBits(view)) + "," : std::string();
  }
};
