#pragma once

#include <vector>

#include "pages/ReportPage.h"

namespace pq::test {

// What a report file keeps of a page: its lines and texts without the cell keys.
inline ReportPage rendered(const ReportPage& page) {
  ReportPage copy;
  for (const PageLine& line : page.lines()) copy.addLine(line.x1, line.y1, line.x2, line.y2);
  for (const PageText& text : page.texts()) copy.addText(text.x, text.y, text.text, text.font);
  return copy;
}

inline std::vector<ReportPage> rendered(const std::vector<ReportPage>& pages) {
  std::vector<ReportPage> copies;
  for (const ReportPage& page : pages) copies.push_back(rendered(page));
  return copies;
}

}  // namespace pq::test
