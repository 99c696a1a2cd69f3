#include "report/XlsFile.h"

#include "base/AtomicFile.h"
#include "report/BiffWriter.h"
#include "report/CompoundFile.h"

namespace pq::xls {

XlsWrite writeXlsFile(const std::string& path, const Worksheet& sheet, std::string& error) {
  const std::vector<std::uint8_t> bytes = compoundFile("Workbook", workbookStream(sheet));
  AtomicFile file(path);
  if (!file.open()) {
    error = file.error();
    return XlsWrite::NotCreated;
  }
  if (file.write(bytes.data(), bytes.size()) && file.commit()) return XlsWrite::Written;
  error = file.error();
  return XlsWrite::Failed;
}

}  // namespace pq::xls
