// Import and rewrite of a full 86 400-frame record file, each beside the plain system-call loop that
// moves the same bytes, so that the ratio can be read off one run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "SilentImportListener.h"
#include "records/RecordFileGenerator.h"
#include "records/RecordFileImport.h"
#include "records/RecordFileWriter.h"

namespace {

constexpr int kRecords = 86400;

const std::string& fullFile() {
  static const std::string path = [] {
    const char* folder = std::getenv("TMPDIR");
    std::string p = std::string(folder != nullptr ? folder : "/tmp") + "/pqdesk-bench-full.bin";
    pq::GeneratorOptions options;
    options.records = kRecords;
    std::string error;
    if (!pq::generateRecordFile(p, options, error)) throw std::runtime_error(error);
    return p;
  }();
  return path;
}

void readWholeFile(const std::string& path, std::vector<char>& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  ssize_t n = 0;
  std::size_t total = 0;
  while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) total += static_cast<std::size_t>(n);
  ::close(fd);
  benchmark::DoNotOptimize(total);
}

void BM_PlainRead(benchmark::State& state) {
  const std::string& path = fullFile();
  std::vector<char> buffer(static_cast<std::size_t>(state.range(0)) << 10);
  for (auto _ : state) readWholeFile(path, buffer);
}
BENCHMARK(BM_PlainRead)->Arg(256)->Arg(4096)->Unit(benchmark::kMillisecond);  // block KiB

void BM_Import(benchmark::State& state) {
  const std::string& path = fullFile();
  static pq::RecordStore store;  // the process's one store, as in the program
  pq::bench::SilentImportListener listener;
  for (auto _ : state) {
    pq::importRecordFile(store, path, listener);
    if (store.recordCount() != kRecords) state.SkipWithError("records lost");
  }
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);

pq::RecordStore& loadedStore() {
  static pq::RecordStore store;
  if (store.recordCount() == 0) {
    pq::bench::SilentImportListener listener;
    pq::importRecordFile(store, fullFile(), listener);
    store.fileName = fullFile() + ".rewrite";
  }
  return store;
}

void BM_PlainWrite(benchmark::State& state) {
  const std::string path = fullFile() + ".plain";
  const std::size_t bytes = 64 + std::size_t{kRecords} * 1853;
  std::vector<char> buffer(512 * 1853, 'x');
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t left = bytes; left > 0;) {
      const ssize_t n = ::write(fd, buffer.data(), std::min(left, buffer.size()));
      if (n <= 0) break;
      left -= static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

void BM_Rewrite(benchmark::State& state) {
  pq::RecordStore& store = loadedStore();
  for (auto _ : state) {
    if (!pq::rewriteRecordFile(store)) state.SkipWithError("rewrite failed");
  }
  std::remove(store.fileName.c_str());
}
BENCHMARK(BM_Rewrite)->Unit(benchmark::kMillisecond);

}  // namespace
