#include "records/RecordFileImport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <random>

#include "support/RecordFileBytes.h"
#include "support/RecordingListener.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::RecordFileBytes;
using test::RecordingListener;
using test::TempDir;
using ::testing::ElementsAre;

constexpr char kDone[] = "finished: 文件转换完成！ ";
constexpr char kTooShort[] = "message: 文件太短，请重新保存或打开另一个文件！";

class RecordFileImportTest : public ::testing::Test {
 protected:
  ImportResult import(const RecordFileBytes& bytes, int cap = RecordStore::kCapacity) {
    bytes.save(path);
    return importRecordFile(store, path, listener, cap);
  }

  TempDir dir;
  std::string path = dir.file("record.bin");
  RecordStore store;
  RecordingListener listener;
};

TEST_F(RecordFileImportTest, OneFrameFileGivesOneRecord) {
  EXPECT_EQ(import(RecordFileBytes().head().frame(57.7f)), ImportResult::Completed);
  ASSERT_EQ(store.recordCount(), 1);
  EXPECT_EQ(store.rangeEnd, 0);
  EXPECT_EQ(store.value(0, cells::uaRms), 57.7f);
  EXPECT_EQ(store.record(0).integer(cells::wiringMode), 1);
  EXPECT_EQ(store.recordTimeText(0), "2010- 4-19 15:39: 0\n");
  EXPECT_EQ(store.fileName, path);
  EXPECT_THAT(listener.events, ElementsAre("started: 正在创建数据库文件... ...，请稍等! / 1", kDone));
}

TEST_F(RecordFileImportTest, SkipsGarbageAndBrokenFrames) {
  RecordFileBytes bytes;
  bytes.head().bytes({0x01, 0xEB, 0x90, 0xEB, 0x90, 0xEB}).frame(1.0f).frame(2.0f, true);
  bytes.bytes({0xEB, 0x90, 0xEB, 0x90, 0x00}).frame(3.0f);
  EXPECT_EQ(import(bytes), ImportResult::Completed);
  ASSERT_EQ(store.recordCount(), 2);
  EXPECT_EQ(store.value(0, cells::uaRms), 1.0f);
  EXPECT_EQ(store.value(1, cells::uaRms), 3.0f);
  EXPECT_EQ(store.record(1).integer(cells::sequenceNumber), 1);
}

TEST_F(RecordFileImportTest, EightSyncBytesTakeTheFirstSixAsSync) {
  // The body then begins with EB 90; its time bytes read EB 90 ...
  auto body = RecordFileBytes::body(4.0f);
  body[0] = 0xEB;
  body[1] = 0x90;
  body[1846] = RecordFileBytes::checksum(body);
  EXPECT_EQ(import(RecordFileBytes().head().rawFrame(body)), ImportResult::Completed);
  ASSERT_EQ(store.recordCount(), 1);
  EXPECT_EQ(store.record(0).cells[0], 0xEBu);
  EXPECT_EQ(store.record(0).cells[1], 0x90u);
}

TEST_F(RecordFileImportTest, ABrokenChecksumResumesScanningAfterTheBody) {
  // The broken frame's body hides a complete valid frame; it must not be found, because scanning
  // resumes after the dropped body.
  RecordFileBytes inner;
  inner.frame(9.0f);
  auto body = std::vector<std::uint8_t>(1847, 0);
  std::memcpy(body.data() + 100, inner.data().data(), 1700);
  body[1846] = static_cast<std::uint8_t>(RecordFileBytes::checksum(body) + 1);
  EXPECT_EQ(import(RecordFileBytes().head().rawFrame(body).frame(5.0f)), ImportResult::Completed);
  ASSERT_EQ(store.recordCount(), 1);
  EXPECT_EQ(store.value(0, cells::uaRms), 5.0f);
}

TEST_F(RecordFileImportTest, HeadNamesStopAtTheFirstZeroByte) {
  import(RecordFileBytes().head(std::string("AB\0CD", 5), "0123456789").frame(1.0f));
  EXPECT_EQ(store.substationName, "AB");
  EXPECT_EQ(store.measuringPointName, "0123456789");
  EXPECT_EQ(store.minShortCircuitCapacity, 100.0f);
  EXPECT_EQ(store.supplyEquipmentCapacity, 120.0f);
  EXPECT_EQ(store.agreedCapacity, 120.0f);
}

TEST_F(RecordFileImportTest, ScalesToPrimaryValuesByTheHeadRatios) {
  auto body = RecordFileBytes::body(57.7f);
  RecordFileBytes::putFloat(body, 26 + 4 * (24 - 11), 2.5f);      // iaRms
  RecordFileBytes::putFloat(body, 26 + 4 * (27 - 11), 100.0f);    // pA
  RecordFileBytes::putFloat(body, 26 + 4 * (37 - 11), 50.0f);     // frequency
  RecordFileBytes::putFloat(body, 26 + 4 * (41 - 11), 1.5f);      // uUnbalance
  RecordFileBytes::putFloat(body, 26 + 4 * (46 - 11), 40.0f);     // qA
  RecordFileBytes::putFloat(body, 26 + 4 * (53 - 11), 7.0f);      // reserved: not read
  RecordFileBytes::putFloat(body, 286 + 260 * 3, 2.5f);           // Ia fundamental
  RecordFileBytes::putFloat(body, 286 + 260 * 5 + 4 * 64, 0.5f);  // Ic order 65
  body[1846] = RecordFileBytes::checksum(body);
  import(RecordFileBytes().head("S", "P", 2, 100.0f, 20.0f).rawFrame(body));

  ASSERT_EQ(store.recordCount(), 1);
  EXPECT_EQ(store.nominalVoltage, 6);
  const float voltageScale = static_cast<float>(100.0 * 0.001);
  const float powerScale = voltageScale * 20.0f;
  EXPECT_EQ(store.value(0, cells::uaRms), 57.7f * voltageScale);
  EXPECT_NEAR(store.value(0, cells::uaRms), 5.77f, 1e-6);
  EXPECT_EQ(store.value(0, cells::harmonic(Ua, 1)), 57.7f * voltageScale);
  EXPECT_EQ(store.value(0, cells::iaRms), 50.0f);
  EXPECT_EQ(store.value(0, cells::pA), 100.0f * powerScale);
  EXPECT_EQ(store.value(0, cells::qA), 40.0f * powerScale);
  EXPECT_EQ(store.value(0, cells::frequency), 50.0f);
  EXPECT_EQ(store.value(0, cells::uUnbalance), 1.5f);
  EXPECT_EQ(store.value(0, 53), 0.0f);
  EXPECT_EQ(store.value(0, cells::harmonic(Ia, 1)), 50.0f);
  EXPECT_EQ(store.value(0, cells::harmonic(Ic, 65)), 10.0f);
}

TEST_F(RecordFileImportTest, LevelCodeGivesNominalVoltageInKilovoltsOrVolts) {
  const struct {
    std::uint8_t code;
    float pt;
    int before;
    int expected;
  } cases[] = {{2, 100.0f, 0, 6},    {2, 1.0f, 0, 6000},  {1, 100.0f, 5, 0},
               {7, 2200.0f, 0, 220}, {9, 100.0f, 35, 35}, {9, 1.0f, 35, 35000}};
  for (const auto& c : cases) {
    store.nominalVoltage = c.before;
    import(RecordFileBytes().head("S", "P", c.code, c.pt).frame(1.0f));
    EXPECT_EQ(store.voltageLevelCode, c.code);
    EXPECT_EQ(store.nominalVoltage, c.expected) << int{c.code} << " pt " << c.pt;
  }
  const float scaled = store.value(0, cells::uaRms);
  EXPECT_EQ(scaled, 1.0f) << "ptRatio 1 keeps volts";
}

TEST_F(RecordFileImportTest, StopsAtTheCapWithOneMessage) {
  RecordFileBytes bytes;
  bytes.head();
  for (int i = 0; i < 5; ++i) bytes.frame(static_cast<float>(i + 1));
  EXPECT_EQ(import(bytes, 3), ImportResult::Completed);
  EXPECT_EQ(store.recordCount(), 3);
  EXPECT_EQ(store.rangeEnd, 2);
  EXPECT_THAT(listener.messages, ElementsAre("文件超长！"));
  EXPECT_EQ(listener.events.back(), kDone);
}

TEST_F(RecordFileImportTest, ProgressAdvancesByTenAfterEveryEleventhRecord) {
  RecordFileBytes bytes;
  bytes.head();
  for (int i = 0; i < 22; ++i) bytes.frame(1.0f);
  import(bytes);
  EXPECT_THAT(listener.events, ElementsAre("started: 正在创建数据库文件... ...，请稍等! / 22",
                                           "progress: 10 已完成45.5%", "progress: 20 已完成90.9%", kDone));
}

TEST_F(RecordFileImportTest, AListenerWithoutProgressGetsNoneAndTheSameRecords) {
  RecordFileBytes bytes;
  bytes.head();
  for (int i = 0; i < 23; ++i) bytes.frame(static_cast<float>(i));
  listener.progress = false;
  import(bytes, 22);
  EXPECT_THAT(listener.events,
              ElementsAre("started: 正在创建数据库文件... ...，请稍等! / 23", "message: 文件超长！", kDone));
  ASSERT_EQ(store.recordCount(), 22);
  EXPECT_EQ(store.record(21).value(cells::uaRms), 21.0f);
}

TEST_F(RecordFileImportTest, FileWithoutValidFrameIsTooShort) {
  EXPECT_EQ(import(RecordFileBytes().head().frame(1.0f, true)), ImportResult::Completed);
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_EQ(store.rangeEnd, -1);
  EXPECT_EQ(listener.events.back(), kTooShort);
}

TEST_F(RecordFileImportTest, CutLastFrameIsDropped) {
  RecordFileBytes bytes;
  bytes.head().frame(1.0f).frame(2.0f);
  auto cut = bytes.data();
  cut.pop_back();
  import(RecordFileBytes().bytes(cut));
  EXPECT_EQ(store.recordCount(), 1);
}

TEST_F(RecordFileImportTest, MissingFileEmptiesTheStoreAndSaysFileEmpty) {
  import(RecordFileBytes().head().frame(1.0f));
  ASSERT_EQ(store.recordCount(), 1);
  listener.events.clear();
  EXPECT_EQ(importRecordFile(store, dir.file("missing.bin"), listener), ImportResult::CannotOpen);
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_THAT(listener.events, ElementsAre("message: 文件空。"));
  EXPECT_EQ(importRecordFile(store, dir.path(), listener), ImportResult::CannotOpen) << "a folder";
  EXPECT_EQ(importRecordFile(store, "/dev/zero", listener), ImportResult::CannotOpen) << "endless";
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(importRecordFile(store, pipe, listener), ImportResult::CannotOpen) << "no writer ever";
}

TEST_F(RecordFileImportTest, ReadErrorStopsTheImportWithAMessage) {
  // Reading this process's memory at offset 0 fails with EIO: a real read error.
  EXPECT_EQ(importRecordFile(store, "/proc/self/mem", listener), ImportResult::ReadFailed);
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_TRUE(store.incompleteImport) << "so that nothing writes the partial store back";
  ASSERT_EQ(listener.messages.size(), 1u);
  EXPECT_EQ(listener.messages[0].rfind("读取记录文件出错，导入已停止，已读入的记录保留：", 0), 0u);
  EXPECT_EQ(listener.events[listener.events.size() - 2], "finished: 文件转换中断！ ");
  import(RecordFileBytes().head().frame(1.0f));
  EXPECT_FALSE(store.incompleteImport);
}

TEST_F(RecordFileImportTest, ShortFilesImportNothingWithoutHarm) {
  for (std::size_t size : {0u, 1u, 26u, 63u, 64u, 70u, 1916u}) {
    RecordFileBytes full;
    full.head("S", "P", 2, 100.0f, 20.0f).frame(1.0f);
    std::vector<std::uint8_t> bytes(full.data().begin(), full.data().begin() + size);
    listener.events.clear();
    import(RecordFileBytes().bytes(bytes));
    EXPECT_EQ(store.recordCount(), 0) << size;
    EXPECT_EQ(listener.events.back(), kTooShort) << size;
  }
}

TEST_F(RecordFileImportTest, RandomBytesNeverBreakTheImport) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> bytes(random() % 6000);
    for (auto& b : bytes)
      b = static_cast<std::uint8_t>(random() % 4 == 0 ? 0xEB : random() % 3 == 0 ? 0x90 : random());
    import(RecordFileBytes().bytes(bytes));
    EXPECT_LE(store.recordCount(), 3);
  }
}

}  // namespace
}  // namespace pq
