#include "records/StreamedRecordFile.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "records/RecordFileReader.h"

namespace pq {

namespace {

constexpr int kChunks = StreamedChunks::kCount;

}  // namespace

StreamedChunks::StreamedChunks() {
  for (auto& chunk : chunks_) chunk = std::make_unique_for_overwrite<MeasurementRecord[]>(kRecords);
}

struct StreamedRecordFile::State {
  State(const std::string& path, StreamedChunks& into) : reader(path), chunks(into) {}

  // Fills the chunks in turn until the file ends or the caller stops; each chunk waits until the
  // caller has given it back.
  void decode() {
    for (int k = 0;; k = (k + 1) % kChunks) {
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stopping || filled[k] < 0; });
        if (stopping) return;
      }
      MeasurementRecord* out = chunks[k];
      std::size_t n = 0;
      while (n < kChunkRecords && reader.next(out[n])) ++n;
      const bool ended = n < kChunkRecords;
      {
        std::lock_guard lock(mutex);
        filled[k] = static_cast<long long>(n);
        read += static_cast<long long>(n);
        finished = ended;
      }
      changed.notify_all();
      if (ended) return;
    }
  }

  RecordFileReader reader;
  RecordHead head;
  StreamedChunks& chunks;
  std::mutex mutex;
  std::condition_variable changed;
  std::array<long long, kChunks> filled{-1, -1};  // records in a chunk handed over; -1: free
  long long read = 0;
  bool finished = false;
  bool stopping = false;
  int current = -1;  // the chunk the caller holds
  int expected = 0;  // the chunk the caller takes next
  std::jthread decoder;
};

StreamedRecordFile::StreamedRecordFile(const std::string& path, StreamedChunks& chunks)
    : state_(std::make_unique<State>(path, chunks)) {
  start(path);
}

StreamedRecordFile::StreamedRecordFile(const std::string& path)
    : ownChunks_(std::make_unique<StreamedChunks>()), state_(std::make_unique<State>(path, *ownChunks_)) {
  start(path);
}

void StreamedRecordFile::start(const std::string& path) {
  State& s = *state_;
  if (!s.reader.opened()) return;
  s.reader.readHead(s.head);
  s.head.fileName = path;
  s.decoder = std::jthread([&s] { s.decode(); });
}

StreamedRecordFile::~StreamedRecordFile() {
  State& s = *state_;
  {
    std::lock_guard lock(s.mutex);
    s.stopping = true;
  }
  s.changed.notify_all();
  if (s.decoder.joinable()) s.decoder.join();
}

bool StreamedRecordFile::opened() const { return state_->reader.opened(); }
const RecordHead& StreamedRecordFile::head() const { return state_->head; }
long long StreamedRecordFile::wholeFrames() const { return state_->reader.wholeFrames(); }

std::span<const MeasurementRecord> StreamedRecordFile::next() {
  State& s = *state_;
  if (!opened()) return {};
  std::unique_lock lock(s.mutex);
  if (s.current >= 0) {
    s.filled[s.current] = -1;
    s.current = -1;
    s.changed.notify_all();
  }
  const int k = s.expected;
  s.changed.wait(lock, [&] { return s.filled[k] >= 0 || (s.finished && s.filled[k] < 0); });
  if (s.filled[k] <= 0) return {};
  s.current = k;
  s.expected = (k + 1) % kChunks;
  return {s.chunks[k], static_cast<std::size_t>(s.filled[k])};
}

long long StreamedRecordFile::recordsRead() const {
  std::lock_guard lock(state_->mutex);
  return state_->read;
}

// The reader's state is the decoding thread's until it has finished.
bool StreamedRecordFile::failed() const {
  std::lock_guard lock(state_->mutex);
  return state_->finished && state_->reader.failed();
}
int StreamedRecordFile::errorNumber() const {
  std::lock_guard lock(state_->mutex);
  return state_->finished ? state_->reader.errorNumber() : 0;
}
bool StreamedRecordFile::cutWhileRead() const {
  std::lock_guard lock(state_->mutex);
  return state_->finished && state_->reader.cutWhileRead();
}

}  // namespace pq
