#pragma once

#include <string>

#include "records/RecordStore.h"

namespace pq {

// What an import reports while it runs. The import window shows it in its labels, progress bar and
// message boxes; the command line prints the messages. Every call comes from the importing thread.
class ImportListener {
 public:
  virtual ~ImportListener() = default;
  // The scan begins: the status text to show, and the progress range 0..frames.
  virtual void importStarted(const std::string& statusText, int frames) = 0;
  virtual void importProgress(int position, const std::string& progressText) = 0;
  // False for a listener that shows no progress: the import then spares itself the progress texts.
  virtual bool showsProgress() const { return true; }
  // A message the operator must read (a message box in the window).
  virtual void importMessage(const std::string& text) = 0;
  // The scan is over: hide the progress display and show this status text.
  virtual void importFinished(const std::string& statusText) = 0;
};

// A listener that shows no progress and keeps no message, for imports no operator watches; one that
// needs the messages overrides importMessage.
class QuietImportListener : public ImportListener {
 public:
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  bool showsProgress() const override { return false; }
  void importMessage(const std::string&) override {}
  void importFinished(const std::string&) override {}
};

enum class ImportResult {
  Completed,   // the whole file was scanned, or the record cap was reached
  CannotOpen,  // "文件空。" was reported; the store is empty
  ReadFailed,  // a read error, or the file was cut while it was read; the records read before stay
};

// Whether the import would open the file (a regular file that can be read), without reading it.
bool canOpenRecordFile(const std::string& path);

// Empties the store and fills it from the record file at `path`: head values, then one record per
// valid frame, at most `recordCap` records (the store's capacity or less). Any byte sequence is
// accepted; what is not a valid frame is skipped.
ImportResult importRecordFile(RecordStore& store, const std::string& path, ImportListener& listener,
                              int recordCap = RecordStore::kCapacity);

}  // namespace pq
