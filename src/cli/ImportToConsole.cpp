#include "cli/ImportToConsole.h"

#include <iostream>

namespace pq::cli {

namespace {

class ConsoleImportListener : public ImportListener {
 public:
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  bool showsProgress() const override { return false; }
  void importMessage(const std::string& text) override { std::cerr << text << '\n'; }
  void importFinished(const std::string&) override {}
};

}  // namespace

ImportResult importToConsole(RecordStore& store, const std::string& path) {
  ConsoleImportListener listener;
  return importRecordFile(store, path, listener);
}

}  // namespace pq::cli
