#pragma once

#include "report/ReportPage.h"
#include "report/Worksheet.h"

namespace pq {

// The worksheet of a built report page: the page's finished texts laid out on a fixed grid of
// columns A to I with merged cells, fonts, alignment and borders. `voltage` chooses the voltage or
// the current sheet, which must match the page's form.
xls::Worksheet reportSheet(const ReportPage& page, bool voltage);

}  // namespace pq
