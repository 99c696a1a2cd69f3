#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "SilentImportListener.h"
#include "records/RecordFileGenerator.h"
#include "records/RecordFileImport.h"
#include "records/RecordStore.h"

namespace pq::bench {

// The process's one store, filled from a generated file of `records` one-second records.
inline RecordStore& generatedStore(int records) {
  static RecordStore store;
  if (store.recordCount() != records) {
    const char* folder = std::getenv("TMPDIR");
    const std::string path = std::string(folder != nullptr ? folder : "/tmp") + "/pqdesk-bench-report.bin";
    GeneratorOptions options;
    options.records = records;
    options.intervalSeconds = 1;
    std::string error;
    if (!generateRecordFile(path, options, error)) throw std::runtime_error(error);
    SilentImportListener listener;
    importRecordFile(store, path, listener);
    std::remove(path.c_str());
  }
  return store;
}

}  // namespace pq::bench
