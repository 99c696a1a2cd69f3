#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pq::xls {

// A compound file (OLE2, version 3, 512-byte sectors) holding one stream, as spreadsheet programs
// expect around a "Workbook" stream. A stream shorter than 4096 bytes is padded to that size so that
// it lives in regular sectors; readers refuse a short stream outside the mini stream.
std::vector<std::uint8_t> compoundFile(const std::string& streamName, std::vector<std::uint8_t> stream);

}  // namespace pq::xls
