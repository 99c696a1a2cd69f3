#include "report/CompoundFile.h"

#include <stdexcept>

#include "base/TextCodec.h"

namespace pq::xls {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kMiniStreamCutoff = 4096;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::size_t kHeaderFatSlots = 109;
constexpr std::size_t kEntriesPerFatSector = kSector / 4;

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  put16(out, at, static_cast<std::uint16_t>(v));
  put16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

void directoryEntry(std::vector<std::uint8_t>& out, std::size_t at, const std::string& name,
                    std::uint8_t type, std::uint32_t child, std::uint32_t start, std::uint32_t size) {
  const std::u16string units = utf8ToUtf16(name);
  for (std::size_t i = 0; i < units.size() && i < 31; ++i) put16(out, at + 2 * i, units[i]);
  put16(out, at + 64, static_cast<std::uint16_t>((std::min<std::size_t>(units.size(), 31) + 1) * 2));
  out[at + 66] = type;
  out[at + 67] = 1;  // black
  put32(out, at + 68, kFree);
  put32(out, at + 72, kFree);
  put32(out, at + 76, child);
  put32(out, at + 116, start);
  put32(out, at + 120, size);
}

}  // namespace

std::vector<std::uint8_t> compoundFile(const std::string& streamName, std::vector<std::uint8_t> stream) {
  if (stream.size() < kMiniStreamCutoff) stream.resize(kMiniStreamCutoff, 0);
  const std::size_t streamSectors = (stream.size() + kSector - 1) / kSector;
  // Sectors: the stream, one directory sector, then the FAT sectors that cover them all.
  std::size_t fatSectors = 1;
  while ((streamSectors + 1 + fatSectors) > fatSectors * kEntriesPerFatSector) ++fatSectors;
  if (fatSectors > kHeaderFatSlots) throw std::length_error("stream too large for a compound file");
  const std::size_t directorySector = streamSectors;
  const std::size_t firstFatSector = streamSectors + 1;
  const std::size_t totalSectors = firstFatSector + fatSectors;

  std::vector<std::uint8_t> out((totalSectors + 1) * kSector, 0);
  const std::uint8_t signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(std::begin(signature), std::end(signature), out.begin());
  put16(out, 24, 0x003E);
  put16(out, 26, 3);
  put16(out, 28, 0xFFFE);
  put16(out, 30, 9);
  put16(out, 32, 6);
  put32(out, 44, static_cast<std::uint32_t>(fatSectors));
  put32(out, 48, static_cast<std::uint32_t>(directorySector));
  put32(out, 56, kMiniStreamCutoff);
  put32(out, 60, kEndOfChain);
  put32(out, 68, kEndOfChain);
  for (std::size_t i = 0; i < kHeaderFatSlots; ++i) {
    put32(out, 76 + 4 * i, i < fatSectors ? static_cast<std::uint32_t>(firstFatSector + i) : kFree);
  }

  auto sectorAt = [](std::size_t sector) { return (sector + 1) * kSector; };
  std::copy(stream.begin(), stream.end(), out.begin() + static_cast<std::ptrdiff_t>(sectorAt(0)));

  const std::size_t directory = sectorAt(directorySector);
  directoryEntry(out, directory, "Root Entry", 5, 1, kEndOfChain, 0);
  directoryEntry(out, directory + 128, streamName, 2, kFree, 0, static_cast<std::uint32_t>(stream.size()));
  for (std::size_t unused = 2; unused < 4; ++unused) {
    put32(out, directory + 128 * unused + 68, kFree);
    put32(out, directory + 128 * unused + 72, kFree);
    put32(out, directory + 128 * unused + 76, kFree);
  }

  std::vector<std::uint32_t> fat(fatSectors * kEntriesPerFatSector, kFree);
  for (std::size_t i = 0; i < streamSectors; ++i) {
    fat[i] = i + 1 < streamSectors ? static_cast<std::uint32_t>(i + 1) : kEndOfChain;
  }
  fat[directorySector] = kEndOfChain;
  for (std::size_t i = 0; i < fatSectors; ++i) fat[firstFatSector + i] = kFatSector;
  for (std::size_t i = 0; i < fat.size(); ++i) put32(out, sectorAt(firstFatSector) + 4 * i, fat[i]);
  return out;
}

}  // namespace pq::xls
