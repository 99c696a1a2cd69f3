// The report file (.QRP) reader on arbitrary file bytes. What it accepts must save and load again
// to the same pages. Since a mutated file almost never keeps its checksum, every input is read a
// second time with its last four bytes replaced by the right checksum, so that the structure behind
// the checksum gets fuzzed too.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "report/ReportFile.h"

namespace {

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return crc ^ 0xFFFFFFFFu;
}

void checkAccepted(const std::vector<pq::ReportPage>& pages) {
  std::vector<unsigned char> saved;
  try {
    saved = pq::encodeReportFile(pages);
  } catch (const pq::ReportFileError&) {
    std::abort();  // a text the reader took must not be too long to save
  }
  if (pq::decodeReportFile(saved) != pages) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const pq::fuzz::FuzzFolder folder;
  const std::string path = folder.path("input.qrp");
  pq::fuzz::writeWholeFile(path, data, size);
  try {
    checkAccepted(pq::loadReportFile(path));
  } catch (const pq::ReportFileError&) {
  }

  if (size < 4) return 0;
  std::vector<unsigned char> mended(data, data + size);
  const std::uint32_t crc = crc32(mended.data(), size - 4);
  for (int i = 0; i < 4; ++i) mended[size - 4 + i] = static_cast<unsigned char>(crc >> (8 * i));
  try {
    checkAccepted(pq::decodeReportFile(mended));
  } catch (const pq::ReportFileError&) {
  }
  return 0;
}
