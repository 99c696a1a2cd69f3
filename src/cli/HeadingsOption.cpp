#include "cli/HeadingsOption.h"

namespace pq::cli {

TableHeadings headingsOption(const Arguments& arguments, TableHeadings fallback) {
  const auto text = arguments.text("headers");
  if (!text) return fallback;
  const auto headings = tableHeadingsNamed(*text);
  if (!headings) throw UsageError("--headers takes zh or id, not \"" + *text + "\"");
  return *headings;
}

}  // namespace pq::cli
