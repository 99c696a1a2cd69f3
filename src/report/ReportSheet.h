#pragma once

#include "pages/ReportPage.h"
#include "report/Worksheet.h"
#include "statistics/ReportKind.h"

namespace pq {

// The worksheet of a built report page: the page's finished texts laid out on a fixed grid of
// columns A to I with merged cells, fonts, alignment and borders. `quantity` chooses the voltage or
// the current sheet, which must match the page's form.
xls::Worksheet reportSheet(const ReportPage& page, ReportQuantity quantity);

}  // namespace pq
