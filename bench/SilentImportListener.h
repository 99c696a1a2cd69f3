#pragma once

#include <string>

#include "records/RecordFileImport.h"

namespace pq::bench {

// An import listener that shows nothing, for timing the import alone.
class SilentImportListener : public ImportListener {
 public:
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  bool showsProgress() const override { return false; }
  void importMessage(const std::string&) override {}
  void importFinished(const std::string&) override {}
};

}  // namespace pq::bench
