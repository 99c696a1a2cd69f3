#include "report/XlsFile.h"

#include "base/AtomicFile.h"
#include "report/BiffWriter.h"
#include "report/CompoundFile.h"

namespace pq::xls {

bool writeXlsFile(const std::string& path, const Worksheet& sheet, std::string& error) {
  const std::vector<std::uint8_t> bytes = compoundFile("Workbook", workbookStream(sheet));
  AtomicFile file(path);
  if (file.open() && file.write(bytes.data(), bytes.size()) && file.commit()) return true;
  error = file.error();
  return false;
}

}  // namespace pq::xls
