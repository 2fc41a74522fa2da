// The HTML comparison report: the shared page frame around a table of the results as shown.
#pragma once
#include <string>
#include <vector>

#include "tools/report_page.h"

namespace corvane {

// computers: the column heads after "Local Version"; rows: every row's texts, column by
// column, in the order shown. info.category heads the first column. Every text is escaped.
std::string ComparisonReport(const ReportPageInfo& info, const std::vector<std::string>& computers,
                             const std::vector<std::vector<std::string>>& rows);

}  // namespace corvane
