// Name and Value rows of a report list view, as records fill them.
#pragma once
#include <windows.h>

#include <string>

#include "catalogue/record_sinks.h"

class AttributeRowsList : public corvane::AttributeRows {
 public:
  explicit AttributeRowsList(HWND list) : list_(list) {}
  void AddAttributeRow(const std::string& label, const std::string& value, int image) override;

 private:
  HWND list_;
};

// Column 0 to its contents but never narrower than its heading, column 1 to the rest.
void FitNameValueColumns(HWND list);
