#include "survey/Survey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "aggregation/AggregatedQuantities.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileImport.h"
#include "records/RecordStore.h"
#include "support/GeneratedRecords.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::TempDir;

std::int64_t at(int day, int hour, int minute, int second) {
  return epochSeconds({2010, 4, day, hour, minute, second});
}

GeneratorOptions minutesFrom(int day, int hour, int minute, int second, long long records) {
  GeneratorOptions options = test::generatedFrom(day, hour, minute, second, records);
  options.substationName = "North7";
  options.measuringPointName = "Bay3";
  return options;
}

std::string generate(const TempDir& dir, const std::string& name, const GeneratorOptions& options) {
  return test::generateFile(dir.file(name), options);
}

class QuietImport : public ImportListener {
 public:
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  void importMessage(const std::string&) override {}
  void importFinished(const std::string&) override {}
};

struct ThreeSecondCount : AggregationSink {
  void intervalFinished(const AggregatedInterval& interval) override {
    if (interval.resolution == Resolution::ThreeSeconds) ++intervals;
  }
  int intervals = 0;
};

// Counts what it is told and cancels when asked to at a file or a progress call.
class Listener : public SurveyListener {
 public:
  void fileStarted(int index, int count, const std::string& path) override {
    started.push_back(path);
    EXPECT_EQ(count, expectedCount);
    if (index == cancelAtFile) cancel = true;
  }
  void progress(double ofFile, double ofSurvey) override {
    EXPECT_GE(ofFile, 0.0);
    EXPECT_LE(ofFile, 1.0);
    EXPECT_GE(ofSurvey, lastOfSurvey);
    EXPECT_LE(ofSurvey, 1.0);
    lastOfSurvey = ofSurvey;
    if (++progressCalls == cancelAtProgress) cancel = true;
  }
  bool cancelRequested() override { return cancel; }

  int expectedCount = 0;
  int cancelAtFile = -1;
  int cancelAtProgress = -1;
  bool cancel = false;
  int progressCalls = 0;
  double lastOfSurvey = 0;
  std::vector<std::string> started;
};

class SurveyTest : public ::testing::Test {
 protected:
  std::optional<Survey> open(const std::vector<std::string>& paths, Listener& listener) {
    plan = planSurvey(paths);
    listener.expectedCount = static_cast<int>(plan.files.size());
    return openSurvey(plan, listener);
  }

  TempDir dir;
  std::unique_ptr<RecordStore> store = std::make_unique<RecordStore>();
  SurveyPlan plan;
};

TEST_F(SurveyTest, FilesGivenOutOfOrderAreReadByFirstRecordWithTheOverlapLeftOutAndTheGapListed) {
  // A: 97 minutes 21:47:13-23:23:13. C: 41 minutes 23:11:13-23:51:13, of which 23:11:13-23:23:13 (13)
  // overlap A. B: 29 minutes from 00:08:13, after the gap 23:52:13-00:07:13.
  const std::string a = generate(dir, "a.bin", minutesFrom(19, 21, 47, 13, 97));
  const std::string b = generate(dir, "b.bin", minutesFrom(20, 0, 8, 13, 29));
  const std::string c = generate(dir, "c.bin", minutesFrom(19, 23, 11, 13, 41));
  Listener listener;
  const auto survey = open({b, c, a}, listener);
  ASSERT_TRUE(survey);

  EXPECT_EQ(listener.started, (std::vector<std::string>{a, c, b}));
  EXPECT_DOUBLE_EQ(listener.lastOfSurvey, 1.0);
  EXPECT_TRUE(plan.mismatches.empty());
  EXPECT_TRUE(plan.leftOut.empty());
  ASSERT_EQ(survey->files.size(), 3u);
  struct Expected {
    std::string path;
    int records, skipped, overlapping;
    std::int64_t first, last;
  };
  const Expected expected[] = {
      {a, 97, 0, 0, at(19, 21, 47, 13), at(19, 23, 23, 13)},
      {c, 41, 13, 13, at(19, 23, 11, 13), at(19, 23, 51, 13)},
      {b, 29, 0, 0, at(20, 0, 8, 13), at(20, 0, 36, 13)},
  };
  for (std::size_t k = 0; k < 3; ++k) {
    const SurveyFile& file = survey->files[k];
    EXPECT_EQ(file.path, expected[k].path);
    EXPECT_EQ(file.records, expected[k].records) << k;
    EXPECT_EQ(file.skipped, expected[k].skipped) << k;
    EXPECT_EQ(file.overlapping, expected[k].overlapping) << k;
    EXPECT_EQ(file.first, expected[k].first) << k;
    EXPECT_EQ(file.last, expected[k].last) << k;
    EXPECT_EQ(file.intervalSeconds, 60) << k;
    EXPECT_TRUE(file.damage.empty()) << k;
  }
  ASSERT_EQ(survey->gaps.size(), 1u);
  EXPECT_EQ(survey->gaps[0].from, at(19, 23, 52, 13));
  EXPECT_EQ(survey->gaps[0].to, at(20, 0, 7, 13));

  // One minute per record let through: 97 + 28 + 29.
  EXPECT_EQ(survey->values.series[static_cast<int>(Resolution::OneMinute)].intervals.size(), 154u);
  EXPECT_EQ(survey->values.gate.skipped(), 13);
  // 21:40, 21:50 .. 23:50 (14), then 00:00 .. 00:30 (4).
  EXPECT_EQ(survey->values.series[static_cast<int>(Resolution::TenMinutes)].intervals.size(), 18u);
  EXPECT_EQ(store->recordCount(), 0);
}

TEST_F(SurveyTest, TwoHalvesOfAFileGiveTheValuesOfTheWholeFile) {
  // 1 500 one-second records from 10:03:17, cut after the 613th frame into two files with one head.
  GeneratorOptions options = minutesFrom(20, 10, 3, 17, 1500);
  options.intervalSeconds = 1;
  const std::string whole = generate(dir, "whole.bin", options);
  const auto bytes = test::readBytes(whole);
  const std::size_t cut = recordfile::kHeadSize + 613 * recordfile::kFrameSize;
  // The second half with the head written over the end of the first: growing a vector from the head
  // alone trips false -Warray-bounds and -Wstringop-overflow warnings of g++ 12 at -O3.
  std::vector<std::uint8_t> second(bytes.begin() + static_cast<std::ptrdiff_t>(cut - recordfile::kHeadSize),
                                   bytes.end());
  std::copy_n(bytes.begin(), recordfile::kHeadSize, second.begin());
  test::writeBytes(dir.file("first.bin"), {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)});
  test::writeBytes(dir.file("second.bin"), second);

  Listener listener;
  ThreeSecondCount threeSeconds;
  plan = planSurvey({dir.file("second.bin"), dir.file("first.bin")});
  listener.expectedCount = 2;
  const auto survey = openSurvey(plan, listener, &threeSeconds);
  ASSERT_TRUE(survey);
  // 10:03:15-17 holds the first record; the other 1 499 (10:03:18-10:28:16) fill 499 intervals and
  // start one more.
  EXPECT_EQ(threeSeconds.intervals, 501);
  ASSERT_EQ(survey->files.size(), 2u);
  EXPECT_EQ(survey->files[0].records, 613);
  EXPECT_EQ(survey->files[1].records, 887);
  EXPECT_TRUE(survey->gaps.empty());

  QuietImport quiet;
  ASSERT_EQ(importRecordFile(*store, whole, quiet), ImportResult::Completed);
  const RecordingValues one = assessRecording(*store, store->records(), survey->declaredVoltage);
  EXPECT_EQ(survey->values.energy.activeKwh, one.energy.activeKwh);
  EXPECT_EQ(survey->values.energy.largestDemandKw, one.energy.largestDemandKw);
  EXPECT_EQ(survey->values.events.size(), one.events.size());
  for (const auto resolution : {Resolution::TenSeconds, Resolution::OneMinute, Resolution::TenMinutes}) {
    const AggregatedSeries& kept = survey->values.series[static_cast<int>(resolution)];
    const AggregatedSeries& all = one.series[static_cast<int>(resolution)];
    ASSERT_EQ(kept.intervals.size(), all.intervals.size());
    ASSERT_FALSE(kept.quantities.empty());
    for (std::size_t i = 0; i < kept.intervals.size(); ++i) {
      EXPECT_EQ(kept.intervals[i].start, all.intervals[i].start);
      EXPECT_EQ(kept.intervals[i].recordCount, all.intervals[i].recordCount);
      for (const int q : kept.quantities) {
        const AggregatedValue* a = kept.find(i, q);
        const AggregatedValue* b = all.find(i, q);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->value, b->value) << i << " " << q;
        EXPECT_EQ(a->max, b->max) << i << " " << q;
      }
    }
  }
}

TEST_F(SurveyTest, EachFieldInWhichALaterFileDiffersFromTheFirstGivesOneText) {
  struct Case {
    void (*change)(GeneratorOptions&);
    std::string text;  // after "<path>："
  };
  const Case cases[] = {
      {[](GeneratorOptions& o) { o.substationName = "South2"; }, "变电站为“South2”，与 "},
      {[](GeneratorOptions& o) { o.measuringPointName = "Bay4"; }, "测量点为“Bay4”，与 "},
      // A level by its name, as the head's own texts name it; a code the program does not know by its number.
      {[](GeneratorOptions& o) { o.voltageLevelCode = 5; }, "电压等级为“66KV”，与 "},
      {[](GeneratorOptions& o) { o.voltageLevelCode = 9; }, "电压等级为“9”，与 "},
      {[](GeneratorOptions& o) { o.ptRatio = 350; }, "PT变比为“350”，与 "},
      {[](GeneratorOptions& o) { o.ctRatio = 12.5f; }, "CT变比为“12.5”，与 "},
  };
  const std::string first = generate(dir, "first.bin", minutesFrom(20, 9, 14, 41, 23));
  const std::string expectedFirst[] = {"North7", "Bay3", "10KV", "10KV", "100", "20"};
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    GeneratorOptions options = minutesFrom(20, 9, 37, 41, 19);
    cases[k].change(options);
    const std::string later = generate(dir, "later" + std::to_string(k) + ".bin", options);
    const SurveyPlan checked = planSurvey({later, first});
    ASSERT_EQ(checked.mismatches.size(), 1u) << k;
    EXPECT_EQ(checked.mismatches[0],
              later + "：" + cases[k].text + first + " 的“" + expectedFirst[k] + "”不同。");
  }
}

TEST_F(SurveyTest, AFileCutShortOrWithADamagedRecordKeepsItsReadableRecordsAndSaysWhere) {
  const std::string whole = generate(dir, "whole.bin", minutesFrom(20, 6, 21, 9, 37));
  std::filesystem::resize_file(whole, std::filesystem::file_size(whole) - 503);
  // The 12th record (06:32:09) gets a wrong checksum.
  const std::string damaged = generate(dir, "damaged.bin", minutesFrom(20, 7, 0, 9, 31));
  auto bytes = test::readBytes(damaged);
  bytes[recordfile::kHeadSize + 11 * recordfile::kFrameSize + 300] ^= 0x5A;
  test::writeBytes(damaged, bytes);

  Listener listener;
  const auto survey = open({whole, damaged}, listener);
  ASSERT_TRUE(survey);
  ASSERT_EQ(survey->files.size(), 2u);
  EXPECT_EQ(survey->files[0].records, 36);
  EXPECT_EQ(
      survey->files[0].damage,
      (std::vector<std::string>{whole + "：文件末尾的记录不完整，已读入到 2010-04-20 06:56:09 的记录。"}));
  EXPECT_EQ(survey->files[1].records, 30);
  EXPECT_EQ(survey->files[1].damage,
            (std::vector<std::string>{damaged + "：1 条记录损坏，未读入；其位置见数据间断。"}));
  // 06:57:09-06:59:09 lie between the files; 07:11:09 is the damaged record.
  ASSERT_EQ(survey->gaps.size(), 2u);
  EXPECT_EQ(survey->gaps[0].from, at(20, 6, 57, 9));
  EXPECT_EQ(survey->gaps[0].to, at(20, 6, 59, 9));
  EXPECT_EQ(survey->gaps[1].from, at(20, 7, 11, 9));
  EXPECT_EQ(survey->gaps[1].to, at(20, 7, 11, 9));
}

TEST_F(SurveyTest, MissingFilesRepeatedFilesCopiesAndEmptyFoldersAreLeftOutWithTheirReason) {
  const std::string a = generate(dir, "a.bin", minutesFrom(20, 3, 5, 27, 17));
  const std::string b = generate(dir, "b.bin", minutesFrom(20, 4, 5, 27, 13));
  std::filesystem::copy_file(a, dir.file("copy.bin"));
  std::filesystem::create_directory(dir.file("empty"));
  test::writeBytes(dir.file("empty/notes.txt"), {1, 2, 3});
  std::filesystem::create_directory(dir.file("more"));
  const std::string inFolder = dir.file("more") + "/c.BIN";
  std::filesystem::copy_file(generate(dir, "c.tmp", minutesFrom(20, 5, 5, 27, 11)), inFolder);
  test::writeBytes(dir.file("blank.bin"), std::vector<std::uint8_t>(64 + 1000, 0));

  const SurveyPlan checked = planSurvey({b, dir.file("gone.bin"), a, dir.file("copy.bin"), b,
                                         dir.file("empty"), dir.file("more"), dir.file("blank.bin")});
  ASSERT_EQ(checked.files.size(), 3u);
  EXPECT_EQ(checked.files[0].path, a);
  EXPECT_EQ(checked.files[1].path, b);
  EXPECT_EQ(checked.files[2].path, inFolder);
  // Folders are looked into before any file is read.
  EXPECT_EQ(checked.leftOut, (std::vector<std::string>{
                                 dir.file("empty") + "：文件夹中没有记录文件（*.bin）。",
                                 dir.file("gone.bin") + "：文件不存在或无法打开，未计入测量。",
                                 dir.file("copy.bin") + "：与 " + a + " 内容相同，只计一次。",
                                 b + "：与 " + b + " 是同一个文件，只计一次。",
                                 dir.file("blank.bin") + "：没有有效记录，未计入测量。",
                             }));
  EXPECT_EQ(checked.recordBound(), 17 + 13 + 11);
}

TEST_F(SurveyTest, AFileRemovedBeforeItsTurnIsReportedAndTheOthersStay) {
  const std::string a = generate(dir, "a.bin", minutesFrom(20, 3, 5, 27, 17));
  const std::string b = generate(dir, "b.bin", minutesFrom(20, 4, 5, 27, 13));
  plan = planSurvey({a, b});
  std::filesystem::remove(b);
  Listener listener;
  listener.expectedCount = 2;
  const auto survey = openSurvey(plan, listener);
  ASSERT_TRUE(survey);
  ASSERT_EQ(survey->files.size(), 1u);
  EXPECT_EQ(survey->files[0].path, a);
  EXPECT_EQ(survey->leftOut, (std::vector<std::string>{b + "：文件在打开测量时已不存在，未计入测量。"}));
  EXPECT_TRUE(survey->gaps.empty());
}

TEST_F(SurveyTest, ACancelAtAFileOrInsideOneKeepsNothing) {
  // 9 000 records: three feeding steps per file (4 096 records at most), with progress after each.
  GeneratorOptions options = minutesFrom(20, 1, 0, 3, 9000);
  options.intervalSeconds = 1;
  const std::string a = generate(dir, "a.bin", options);
  options.startHour = 7;
  const std::string b = generate(dir, "b.bin", options);
  for (const auto& [atFile, atProgress] : {std::pair{1, -1}, std::pair{-1, 2}, std::pair{-1, 5}}) {
    Listener listener;
    listener.cancelAtFile = atFile;
    listener.cancelAtProgress = atProgress;
    EXPECT_FALSE(open({a, b}, listener)) << atFile << " " << atProgress;
    EXPECT_EQ(store->recordCount(), 0);
  }
}

TEST_F(SurveyTest, AFileOfAnUnknownLevelTakesNoVoltageFromAnotherFileReadBefore) {
  // The import keeps the store's nominal voltage for a level code it does not know; the survey reads
  // several files into one store, so the 10 kV file read before must not lend the other its voltage.
  GeneratorOptions unknown = minutesFrom(20, 2, 17, 43, 11);
  unknown.voltageLevelCode = 9;
  const std::string later = generate(dir, "later.bin", minutesFrom(20, 5, 17, 43, 13));
  const std::string first = generate(dir, "first.bin", unknown);
  Listener listener;
  EXPECT_THROW(open({later, first}, listener), std::invalid_argument);
  EXPECT_EQ(store->recordCount(), 0);
}

}  // namespace
}  // namespace pq
