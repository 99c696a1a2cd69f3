// A record file that changes under the import: another program cuts or removes it while it is
// read. The cut gives the read-error message and keeps what was read; nothing may crash, and the
// partial store must not be written back over what is left of the file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <utility>

#include "records/RecordFileImport.h"
#include "records/RecordFileMessages.h"
#include "records/RecordFileWriter.h"
#include "support/RecordFileBytes.h"
#include "support/RecordingListener.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::RecordFileBytes;
using test::TempDir;

// Runs `action` once, at the first progress report, when the import has read its first block.
class MidImportListener : public test::RecordingListener {
 public:
  explicit MidImportListener(std::function<void()> action) : action_(std::move(action)) {}
  void importProgress(int position, const std::string& text) override {
    RecordingListener::importProgress(position, text);
    if (action_) std::exchange(action_, nullptr)();
  }

 private:
  std::function<void()> action_;
};

constexpr int kFrames = 1500;  // about 2.8 MB, more than the import's first read

TEST(ImportUnderFaultTest, FileCutOrRemovedWhileRead) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> fault;
    ImportResult result;
  };
  const Case cases[] = {
      {"cut to 100 frames",
       [](const std::string& p) { ASSERT_EQ(::truncate(p.c_str(), 64 + 100 * 1853), 0); },
       ImportResult::ReadFailed},
      {"cut to nothing", [](const std::string& p) { ASSERT_EQ(::truncate(p.c_str(), 0), 0); },
       ImportResult::ReadFailed},
      // The open file stays readable to its end after its name is gone.
      {"removed", [](const std::string& p) { ASSERT_EQ(::unlink(p.c_str()), 0); }, ImportResult::Completed},
  };
  RecordFileBytes bytes;
  bytes.head();
  for (int i = 0; i < kFrames; ++i) bytes.frame(static_cast<float>(i));

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.file("day.bin");
    bytes.save(path);
    RecordStore store;
    MidImportListener listener([&] { c.fault(path); });
    EXPECT_EQ(importRecordFile(store, path, listener), c.result);
    if (c.result == ImportResult::Completed) {
      EXPECT_EQ(store.recordCount(), kFrames);
      EXPECT_FALSE(store.incompleteImport);
      continue;
    }
    EXPECT_GT(store.recordCount(), 0) << "the records read before the cut stay";
    EXPECT_LT(store.recordCount(), kFrames);
    EXPECT_EQ(store.rangeEnd, store.recordCount() - 1);
    EXPECT_TRUE(store.incompleteImport);
    ASSERT_FALSE(listener.messages.empty());
    EXPECT_EQ(listener.messages.back(), std::string(messages::kReadFailed) + messages::kFileCutWhileRead);
    EXPECT_EQ(listener.events[listener.events.size() - 2],
              std::string("finished: ") + messages::kImportStopped);

    const auto sizeBefore = test::readBytes(path).size();
    std::string failure;
    EXPECT_FALSE(rewriteRecordFile(store, &failure));
    EXPECT_EQ(failure, messages::kPartialStoreNotWritten);
    EXPECT_EQ(test::readBytes(path).size(), sizeBefore);
  }
}

}  // namespace
}  // namespace pq
