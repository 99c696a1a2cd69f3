#include "records/RecordFileImport.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/PictureFormat.h"
#include "base/SystemErrorText.h"
#include "records/RecordFileMessages.h"
#include "records/RecordFileReader.h"

namespace pq {

namespace {

std::string absolutePath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

}  // namespace

bool canOpenRecordFile(const std::string& path) { return RecordFileReader(path).opened(); }

ImportResult importRecordFile(RecordStore& store, const std::string& path, ImportListener& listener,
                              int recordCap) {
  store.clear();
  store.incompleteImport = false;
  RecordFileReader reader(path);
  if (!reader.opened()) {
    listener.importMessage(messages::kFileEmpty);
    return ImportResult::CannotOpen;
  }
  recordCap = std::clamp(recordCap, 0, RecordStore::kCapacity);
  const int frames = static_cast<int>(std::min<long long>(reader.wholeFrames(), INT_MAX));
  store.fileName = absolutePath(path);
  store.substationName.clear();
  store.measuringPointName.clear();
  listener.importStarted(messages::kImportStatus, frames);
  reader.readHead(store);

  int imported = 0;
  int position = 0;
  const bool showsProgress = listener.showsProgress();
  while (const std::uint8_t* body = reader.nextValidBody()) {
    if (store.recordCount() >= recordCap) {
      listener.importMessage(messages::kFileTooLong);
      break;
    }
    MeasurementRecord* slot = store.nextSlot();
    reader.decode(body, *slot);
    store.commitAppend();
    if (++imported % 11 == 0 && showsProgress) {
      position = std::min(position + 10, frames);
      listener.importProgress(position,
                              messages::kProgressPrefix + formatPicture(100.0 * position / frames, "0.0%"));
    }
  }

  store.rangeEnd = store.recordCount() - 1;
  // A file cut by someone else while it was read ends early without a read error; the store then
  // holds only part of what the file held, as after a read error.
  const bool cut = reader.cutWhileRead();
  if (reader.failed() || cut) {
    store.incompleteImport = true;
    listener.importFinished(messages::kImportStopped);
    listener.importMessage(messages::kReadFailed + std::string(cut ? messages::kFileCutWhileRead
                                                                   : systemErrorText(reader.errorNumber())));
    return ImportResult::ReadFailed;
  }
  listener.importFinished(messages::kImportDone);
  if (store.recordCount() == 0) listener.importMessage(messages::kFileTooShort);
  return ImportResult::Completed;
}

}  // namespace pq
