#include "export/ZipArchive.h"

#include <zlib.h>

#include <utility>

#include "base/ByteWriter.h"

namespace pq {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kDataDescriptor = 0x08074b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kZip64End = 0x06064b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kEnd = 0x06054b50;

constexpr unsigned kVersion = 20;       // deflate
constexpr unsigned kZip64Version = 45;
constexpr unsigned kSizesFollowData = 0x0008;
constexpr unsigned kDeflated = 8;
// 1980-01-01 00:00, the earliest time the format holds: an archive does not change with the clock.
constexpr unsigned kDosTime = 0;
constexpr unsigned kDosDate = (1 << 5) | 1;

constexpr std::uint64_t k32BitLimit = 0xFFFFFFFF;
constexpr std::uint64_t k16BitLimit = 0xFFFF;

bool over32(std::uint64_t value) { return value >= k32BitLimit; }

}  // namespace

ZipArchive::ZipArchive(AtomicFile& file) : file_(file) {}

bool ZipArchive::put(const void* data, std::size_t size) {
  ok_ = ok_ && file_.write(data, size);
  offset_ += size;
  return ok_;
}

bool ZipArchive::put(const std::vector<std::uint8_t>& bytes) { return put(bytes.data(), bytes.size()); }

bool ZipArchive::beginEntry(std::string name, std::size_t heldBack) {
  ByteWriter header;
  header.u32(kLocalHeader);
  header.u16(kVersion);
  header.u16(kSizesFollowData);
  header.u16(kDeflated);
  header.u16(kDosTime);
  header.u16(kDosDate);
  header.u32(0);  // CRC and sizes in the data descriptor
  header.u32(0);
  header.u32(0);
  header.u16(static_cast<unsigned>(name.size()));
  header.u16(0);
  header.data.insert(header.data.end(), name.begin(), name.end());
  entries_.push_back({std::move(name), offset_});
  put(header.data);
  heldBack_ = heldBack;
  if (heldBack_ > 0) {
    // A stored block that is not the last: three header bits, zero bits to the byte's end, the
    // length and its complement. Its bytes are filled by endEntry().
    ByteWriter block;
    block.u8(0);
    block.u16(static_cast<unsigned>(heldBack_));
    block.u16(static_cast<unsigned>(~heldBack_ & 0xFFFF));
    block.data.resize(block.data.size() + heldBack_, ' ');
    put(block.data);
    heldBackOffset_ = offset_ - heldBack_;
  }
  deflate_.emplace([this](const void* data, std::size_t size) { return put(data, size); });
  return ok_;
}

bool ZipArchive::write(std::string_view data) { return ok_ && deflate_->write(data); }

bool ZipArchive::endEntry(std::string_view heldBackText) {
  deflate_->finish();
  Entry& entry = entries_.back();
  entry.crc = deflate_->crc();
  entry.size = deflate_->size();
  entry.compressedSize = deflate_->compressedSize();
  deflate_.reset();
  if (heldBack_ > 0) {
    const auto* text = reinterpret_cast<const Bytef*>(heldBackText.data());
    const auto headCrc = crc32(0, text, static_cast<uInt>(heldBackText.size()));
    entry.crc = static_cast<std::uint32_t>(crc32_combine(headCrc, entry.crc, static_cast<z_off_t>(entry.size)));
    entry.size += heldBack_;
    entry.compressedSize += 5 + heldBack_;
    ok_ = ok_ && file_.writeAt(heldBackOffset_, heldBackText.data(), heldBackText.size());
  }
  ByteWriter descriptor;
  descriptor.u32(kDataDescriptor);
  descriptor.u32(entry.crc);
  if (over32(entry.size) || over32(entry.compressedSize)) {
    descriptor.u64(entry.compressedSize);
    descriptor.u64(entry.size);
  } else {
    descriptor.u32(static_cast<std::uint32_t>(entry.compressedSize));
    descriptor.u32(static_cast<std::uint32_t>(entry.size));
  }
  return put(descriptor.data);
}

bool ZipArchive::finish() {
  const std::uint64_t directoryOffset = offset_;
  ByteWriter directory;
  for (const Entry& entry : entries_) {
    // The fields too large for 32 bits move into the ZIP64 field, in this order.
    ByteWriter wide;
    for (const std::uint64_t value : {entry.size, entry.compressedSize, entry.headerOffset}) {
      if (over32(value)) wide.u64(value);
    }
    const auto narrow = [](std::uint64_t value) {
      return static_cast<std::uint32_t>(over32(value) ? k32BitLimit : value);
    };
    directory.u32(kCentralHeader);
    directory.u16(kZip64Version);  // made by: the features of 4.5, MS-DOS attributes
    directory.u16(wide.data.empty() ? kVersion : kZip64Version);
    directory.u16(kSizesFollowData);
    directory.u16(kDeflated);
    directory.u16(kDosTime);
    directory.u16(kDosDate);
    directory.u32(entry.crc);
    directory.u32(narrow(entry.compressedSize));
    directory.u32(narrow(entry.size));
    directory.u16(static_cast<unsigned>(entry.name.size()));
    directory.u16(wide.data.empty() ? 0 : static_cast<unsigned>(4 + wide.data.size()));
    directory.u16(0);  // comment
    directory.u16(0);  // disk
    directory.u16(0);  // internal attributes
    directory.u32(0);  // external attributes
    directory.u32(narrow(entry.headerOffset));
    directory.data.insert(directory.data.end(), entry.name.begin(), entry.name.end());
    if (!wide.data.empty()) {
      directory.u16(0x0001);
      directory.u16(static_cast<unsigned>(wide.data.size()));
      directory.data.insert(directory.data.end(), wide.data.begin(), wide.data.end());
    }
  }
  const std::uint64_t directorySize = directory.data.size();
  const std::uint64_t count = entries_.size();
  if (over32(directoryOffset) || over32(directorySize) || count >= k16BitLimit) {
    const std::uint64_t zip64EndOffset = directoryOffset + directorySize;
    directory.u32(kZip64End);
    directory.u64(44);  // the record's size after this field
    directory.u16(kZip64Version);
    directory.u16(kZip64Version);
    directory.u32(0);
    directory.u32(0);
    directory.u64(count);
    directory.u64(count);
    directory.u64(directorySize);
    directory.u64(directoryOffset);
    directory.u32(kZip64Locator);
    directory.u32(0);
    directory.u64(zip64EndOffset);
    directory.u32(1);
  }
  const auto narrow16 = static_cast<unsigned>(count >= k16BitLimit ? k16BitLimit : count);
  directory.u32(kEnd);
  directory.u16(0);
  directory.u16(0);
  directory.u16(narrow16);
  directory.u16(narrow16);
  directory.u32(static_cast<std::uint32_t>(over32(directorySize) ? k32BitLimit : directorySize));
  directory.u32(static_cast<std::uint32_t>(over32(directoryOffset) ? k32BitLimit : directoryOffset));
  directory.u16(0);
  return put(directory.data);
}

}  // namespace pq
