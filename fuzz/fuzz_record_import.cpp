// The record file import on arbitrary file bytes, head names included, followed by what the windows
// do with an imported store: the names shown, every record's time read, and the rewrite after a
// deletion, whose file must import again to the same records.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFolder.h"
#include "base/ConversionError.h"
#include "base/TextCodec.h"
#include "records/RecordFileImport.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "timerange/CalendarDateTime.h"

namespace {

using namespace pq;

class SilentListener : public ImportListener {
 public:
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  void importMessage(const std::string&) override {}
  void importFinished(const std::string&) override {}
};

void readTimes(const RecordStore& store) {
  for (int i = 0; i < store.recordCount(); ++i) {
    (void)store.recordTimeText(i);
    try {
      (void)CalendarDateTime::ofRecord(store, i);
    } catch (const ConversionError&) {
    }
    try {
      (void)decodedRecordDate(store, i);
    } catch (const ConversionError&) {
    }
  }
}

// The rewrite keeps every record's byte cells and the record count.
void checkRewrite(RecordStore& store, RecordStore& again, const std::string& path) {
  if (store.recordCount() == 0) return;
  store.deleteAt(0);
  if (!rewriteRecordFile(store)) std::abort();
  SilentListener listener;
  if (importRecordFile(again, path, listener) != ImportResult::Completed) std::abort();
  if (again.recordCount() != store.recordCount()) std::abort();
  for (int i = 0; i < store.recordCount(); ++i) {
    for (int cell = 0; cell <= 10; ++cell) {
      if (again.record(i).cells[cell] != store.record(i).cells[cell]) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::FuzzFolder folder;
  static RecordStore store;
  static RecordStore again;
  const std::string path = folder.path("input.bin");
  fuzz::writeWholeFile(path, data, size);

  SilentListener listener;
  if (importRecordFile(store, path, listener) != ImportResult::Completed) std::abort();
  (void)gbkToUtf8(store.substationName);
  (void)gbkToUtf8(store.measuringPointName);
  (void)store.voltageUnit();
  readTimes(store);
  checkRewrite(store, again, path);
  return 0;
}
