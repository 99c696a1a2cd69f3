#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "pages/ReportPage.h"

namespace pq {

// A report file (".QRP") keeps rendered pages (lines, texts, fonts) without the data they came from.
// The format is described in docs/file-formats.md.
class ReportFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Written through a temporary file, so a failure leaves no half-written file. Throws ReportFileError.
void saveReportFile(const std::string& path, const std::vector<ReportPage>& pages);

// Throws ReportFileError for a file that cannot be read, is damaged or is no report file.
std::vector<ReportPage> loadReportFile(const std::string& path);

// The same on bytes in memory.
std::vector<unsigned char> encodeReportFile(const std::vector<ReportPage>& pages);
std::vector<ReportPage> decodeReportFile(const std::vector<unsigned char>& bytes);

}  // namespace pq
