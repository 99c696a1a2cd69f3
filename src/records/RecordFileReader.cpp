#include "records/RecordFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "records/InstrumentEncoding.h"
#include "records/RecordFileFormat.h"
#include "records/RecordScaling.h"

namespace pq {

namespace rf = recordfile;

// Not in an anonymous namespace: the reader's state holds them.
namespace framereading {

// A record file opened for reading, or fd() < 0. Only regular files qualify: a device such as
// /dev/zero would never end and a named pipe would never start, so neither may hang the program.
class FileHandle {
 public:
  explicit FileHandle(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    if (fd_ >= 0 && (::fstat(fd_, &info_) != 0 || !S_ISREG(info_.st_mode) || ::fcntl(fd_, F_SETFL, 0) != 0)) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int fd() const { return fd_; }
  long long size() const { return static_cast<long long>(info_.st_size); }

 private:
  int fd_;
  struct stat info_ {};
};

// Reads the file in large blocks and hands out the frames found by the sync scan. A frame never
// straddles two reads: the unread tail of a block moves to the front before the next read. A small
// file gets a buffer of its own size; one that grows meanwhile is still read whole, in more reads.
class FrameScanner {
 public:
  FrameScanner(int fd, long long fileSize)
      : fd_(fd),
        buffer_(static_cast<std::size_t>(std::clamp<long long>(fileSize, 0, kBlockSize)) + rf::kFrameSize) {}

  // Reads up to `size` bytes at the current position; bytes past the end of the file read as 0.
  bool readHead(std::uint8_t* out, std::size_t size) {
    std::memset(out, 0, size);
    std::size_t got = 0;
    while (got < size) {
      const ssize_t n = ::read(fd_, out + got, size - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return fail();
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytesRead_ += static_cast<long long>(got);
    return true;
  }

  // The body of the next frame (sync found, full length present), checksum not yet checked;
  // nullptr at the end of the file or after a read error.
  const std::uint8_t* nextBody() {
    for (;;) {
      const std::size_t found = findSync();
      if (found != kNotFound && end_ - found >= rf::kFrameSize) {
        begin_ = found + rf::kFrameSize;
        return &buffer_[found + rf::kSync.size()];
      }
      if (found != kNotFound) {
        begin_ = found;  // the frame is cut by the end of the block
      }
      if (endOfFile_ || !refill()) return nullptr;
    }
  }

  bool failed() const { return errorNumber_ != 0; }
  // The end came before `size` bytes: the file was cut while it was read.
  bool endedBefore(long long size) const { return endOfFile_ && bytesRead_ < size; }
  int errorNumber() const { return errorNumber_; }

 private:
  static constexpr std::size_t kBlockSize = 1u << 18;
  static constexpr std::size_t kNotFound = SIZE_MAX;

  bool fail() {
    errorNumber_ = errno;
    return false;
  }

  // First complete sync at or after begin_. Without one, begin_ moves to the last five bytes, the
  // only ones that can still start a sync once more bytes arrive.
  std::size_t findSync() {
    const std::uint8_t* data = buffer_.data();
    std::size_t i = begin_;
    while (end_ - i >= rf::kSync.size()) {
      const void* hit = std::memchr(data + i, rf::kSync[0], end_ - i - (rf::kSync.size() - 1));
      if (hit == nullptr) break;
      i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
      if (std::memcmp(data + i, rf::kSync.data(), rf::kSync.size()) == 0) return i;
      ++i;
    }
    begin_ = std::max(begin_, end_ >= rf::kSync.size() - 1 ? end_ - (rf::kSync.size() - 1) : 0);
    return kNotFound;
  }

  bool refill() {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < buffer_.size()) {
      const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return fail();
      if (n == 0) {
        endOfFile_ = true;
        break;
      }
      end_ += static_cast<std::size_t>(n);
      bytesRead_ += n;
      if (end_ - begin_ >= kBlockSize) break;
    }
    return true;
  }

  int fd_;
  std::vector<std::uint8_t> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool endOfFile_ = false;
  int errorNumber_ = 0;
  long long bytesRead_ = 0;
};

std::string nameField(const std::uint8_t* field) {
  std::size_t length = 0;
  while (length < rf::kNameSize && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field), length);
}

void readHeadValues(RecordHead& store, const std::uint8_t* head) {
  store.substationName = nameField(head + rf::kSubstationName);
  store.measuringPointName = nameField(head + rf::kMeasuringPointName);
  store.voltageLevelCode = head[rf::kVoltageLevelCode];
  const int nominal = rf::nominalVoltageOfLevel(store.voltageLevelCode);
  if (nominal >= 0) store.nominalVoltage = nominal;
  store.minShortCircuitCapacity = decodeFloat(head + rf::kMinShortCircuitCapacity);
  store.supplyEquipmentCapacity = decodeFloat(head + rf::kSupplyEquipmentCapacity);
  store.agreedCapacity = decodeFloat(head + rf::kAgreedCapacity);
  store.ptRatio = decodeFloat(head + rf::kPtRatio);
  store.ctRatio = decodeFloat(head + rf::kCtRatio);
  if (!(store.ptRatio > 1.0f)) {
    // Without a voltage transformer the values stay in volts. Saturate rather than overflow when an
    // earlier file's level was kept and multiplied again.
    const long long volts = static_cast<long long>(store.nominalVoltage) * 1000;
    store.nominalVoltage = static_cast<std::int32_t>(std::clamp<long long>(volts, INT32_MIN, INT32_MAX));
  }
}

// Factors of the value cells the import reads, looked up once per file rather than once per value.
struct ImportFactors {
  std::array<float, rf::kLastImportedCell - rf::kFirstImportedCell + 1> values;
  std::array<float, kChannelCount> channels;

  explicit ImportFactors(const RecordScaling& scaling) {
    for (int cell = rf::kFirstImportedCell; cell <= rf::kLastImportedCell; ++cell) {
      values[cell - rf::kFirstImportedCell] = scaling.ofCell(cell);
    }
    for (int channel = 0; channel < kChannelCount; ++channel) channels[channel] = scaling.ofChannel(channel);
  }
};

void decodeBody(const std::uint8_t* body, const ImportFactors& factors, MeasurementRecord& record) {
  for (std::size_t i = 0; i < rf::kByteCells; ++i) record.cells[i] = body[i];
  const std::uint8_t* values = body + rf::valueOffset(rf::kFirstImportedCell);
  std::uint32_t* valueCells = &record.cells[rf::kFirstImportedCell];
  for (std::size_t i = 0; i < factors.values.size(); ++i) {
    valueCells[i] = std::bit_cast<std::uint32_t>(decodeFloat(values + 4 * i) * factors.values[i]);
  }
  for (int channel = 0; channel < kChannelCount; ++channel) {
    const float factor = factors.channels[channel];
    const std::uint8_t* block = body + rf::harmonicOffset(channel, 1);
    std::uint32_t* out = &record.cells[cells::harmonic(channel, 1)];
    for (int order = 0; order < kHarmonicOrders; ++order) {
      out[order] = std::bit_cast<std::uint32_t>(decodeFloat(block + 4 * order) * factor);
    }
  }
}

}  // namespace framereading

struct RecordFileReader::State {
  explicit State(const std::string& path) : file(path) {}
  framereading::FileHandle file;
  std::optional<framereading::FrameScanner> scanner;
  framereading::ImportFactors factors{RecordScaling::identity()};
  bool scannedToEnd = false;
};

RecordFileReader::RecordFileReader(const std::string& path) : state_(std::make_unique<State>(path)) {
  if (state_->file.fd() >= 0) state_->scanner.emplace(state_->file.fd(), state_->file.size());
}

RecordFileReader::~RecordFileReader() = default;

bool RecordFileReader::opened() const { return state_->scanner.has_value(); }
long long RecordFileReader::fileSize() const { return state_->file.size(); }
long long RecordFileReader::wholeFrames() const {
  return state_->file.size() / static_cast<long long>(rf::kFrameSize);
}

void RecordFileReader::readHead(RecordHead& head) {
  if (!opened()) return;
  std::uint8_t bytes[rf::kHeadSize];
  if (state_->scanner->readHead(bytes, sizeof bytes)) framereading::readHeadValues(head, bytes);
  state_->factors = framereading::ImportFactors(RecordScaling::fromRatios(head.ptRatio, head.ctRatio));
}

const std::uint8_t* RecordFileReader::nextValidBody() {
  if (!opened()) return nullptr;
  framereading::FrameScanner& scanner = *state_->scanner;
  while (!scanner.failed()) {
    const std::uint8_t* body = scanner.nextBody();
    if (body == nullptr) {
      state_->scannedToEnd = true;
      return nullptr;
    }
    if (rf::bodyChecksum(body) == body[rf::kChecksum]) return body;
  }
  return nullptr;
}

void RecordFileReader::decode(const std::uint8_t* body, MeasurementRecord& record) const {
  framereading::decodeBody(body, state_->factors, record);
}

bool RecordFileReader::next(MeasurementRecord& record) {
  const std::uint8_t* body = nextValidBody();
  if (body == nullptr) return false;
  decode(body, record);
  return true;
}

bool RecordFileReader::failed() const { return opened() && state_->scanner->failed(); }
int RecordFileReader::errorNumber() const { return opened() ? state_->scanner->errorNumber() : 0; }
bool RecordFileReader::cutWhileRead() const {
  return opened() && state_->scannedToEnd && !failed() && state_->scanner->endedBefore(state_->file.size());
}

}  // namespace pq
