#include "survey/ui/SurveyOpenFlow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "records/RecordFileImport.h"
#include "records/RecordStore.h"
#include "support/GeneratedRecords.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"

namespace pq {
namespace {

GeneratorOptions minutesFrom(int day, int hour, int minute, long long records) {
  GeneratorOptions options = test::generatedFrom(day, hour, minute, 17, records);
  options.substationName = "North7";
  options.measuringPointName = "Bay3";
  return options;
}

class SurveyOpenFlowTest : public ::testing::Test {
 protected:
  std::string generate(const std::string& name, const GeneratorOptions& options) {
    return test::generateFile(dir.file(name), options);
  }

  // The store as the program has it after "打开记录": another file's records and its path.
  void loadSomething() {
    const std::string path = generate("loaded.bin", minutesFrom(3, 9, 41, 23));
    QuietImportListener quiet;
    importRecordFile(store, path, quiet);
    ASSERT_EQ(store.recordCount(), 23);
  }

  // The survey reads its files without the store: the file loaded before stays, whatever the end.
  void expectStoreKept() {
    EXPECT_EQ(store.recordCount(), 23);
    EXPECT_EQ(store.fileName.substr(store.fileName.rfind('/') + 1), "loaded.bin");
  }

  std::optional<OpenedSurvey> open(const std::vector<std::string>& paths) {
    return openSurveyFiles(paths, prompter, nullptr);
  }

  test::TempDir dir;
  RecordStore store;
  ui::ScriptedPrompter prompter;
};

TEST_F(SurveyOpenFlowTest, WithoutAUsableFileNothingOpensAndTheOperatorReadsWhy) {
  std::filesystem::create_directory(dir.file("empty"));
  std::ofstream(dir.file("junk.bin")) << std::string(2203, 'x');
  const struct {
    std::vector<std::string> paths;
    QString reason;
  } cases[] = {
      {{dir.file("gone.bin")},
       QString::fromStdString(dir.file("gone.bin")) + "：文件不存在或无法打开，未计入测量。"},
      {{dir.file("empty")}, QString::fromStdString(dir.file("empty")) + "：文件夹中没有记录文件（*.bin）。"},
      {{dir.file("junk.bin")}, QString::fromStdString(dir.file("junk.bin")) + "：没有有效记录，未计入测量。"},
  };
  for (const auto& c : cases) {
    loadSomething();
    prompter.log.clear();
    EXPECT_FALSE(open(c.paths).has_value()) << c.reason.toStdString();
    EXPECT_EQ(prompter.log,
              QStringList{"warning: 打开测量任务: " + c.reason + "\n\n没有可用的记录文件，测量未打开。"});
    expectStoreKept();
  }
}

TEST_F(SurveyOpenFlowTest, FilesThatDifferOpenOnlyWhenTheOperatorGoesOn) {
  const std::string first = generate("a.bin", minutesFrom(19, 15, 39, 31));
  GeneratorOptions otherPoint = minutesFrom(19, 16, 10, 29);
  otherPoint.measuringPointName = "Bay4";
  const std::string later = generate("b.bin", otherPoint);
  const QString question = "question: 打开测量任务: " + QString::fromStdString(later) +
                           "：测量点为“Bay4”，与 " + QString::fromStdString(first) +
                           " 的“Bay3”不同。\n\n这些文件可能不属于同一次测量。是否继续打开？";

  loadSomething();
  prompter.answerYesNo(false);
  EXPECT_FALSE(open({later, first}).has_value());
  EXPECT_EQ(prompter.log, QStringList{question});
  expectStoreKept();

  loadSomething();
  prompter.log.clear();
  prompter.answerYesNo(true);
  const auto opened = open({later, first});
  EXPECT_EQ(prompter.log, QStringList{question});
  ASSERT_TRUE(opened.has_value());
  ASSERT_EQ(opened->assessed.survey.files.size(), 2u);
  EXPECT_EQ(opened->assessed.survey.files[0].path, first) << "in time order";
  EXPECT_EQ(opened->assessed.survey.files[0].records, 31);
  EXPECT_EQ(opened->assessed.survey.files[1].records, 29);
  EXPECT_EQ(opened->plan.mismatches.size(), 1u) << "kept for the survey window's notes";
  expectStoreKept();
}

TEST_F(SurveyOpenFlowTest, AFirstFileWithoutAVoltageStopsTheSurveyWithItsReason) {
  GeneratorOptions unknownLevel = minutesFrom(19, 15, 39, 13);
  unknownLevel.voltageLevelCode = 9;
  const std::string first = generate("a.bin", unknownLevel);
  GeneratorOptions later = minutesFrom(19, 16, 0, 11);
  later.voltageLevelCode = 9;
  loadSomething();
  EXPECT_FALSE(open({first, generate("b.bin", later)}).has_value());
  EXPECT_EQ(
      prompter.log,
      QStringList{"stop: 打开测量任务: 标称电压为零或无效，无法进行电能质量评估。测量未打开。"});
  expectStoreKept();
}

TEST_F(SurveyOpenFlowTest, ADamagedFileKeepsItsReadableRecordsAndIsReported) {
  loadSomething();
  const std::string first = generate("a.bin", minutesFrom(19, 15, 39, 31));
  const std::string cut = generate("b.bin", minutesFrom(19, 16, 10, 29));
  // 700 bytes short: the last record is cut off, the 28 before it stay.
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 700);
  const auto opened = open({first, cut});
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(opened->assessed.survey.files[1].records, 28);
  EXPECT_EQ(
      prompter.log,
      QStringList{QString::fromStdString("warning: 打开测量任务: " + cut +
                                         "：文件末尾的记录不完整，已读入到 2010-04-19 16:37:17 的记录。")});
  expectStoreKept();
}

TEST_F(SurveyOpenFlowTest, AFileRemovedWhileTheSurveyOpensIsLeftOutAndSaidSo) {
  loadSomething();
  const std::string first = generate("a.bin", minutesFrom(19, 15, 39, 31));
  const std::string second = generate("b.bin", minutesFrom(19, 16, 10, 29));
  // The warning about the file given twice comes after the plan and before the reading.
  prompter.onShown = [&] { std::filesystem::remove(second); };
  const auto opened = open({first, second, first});
  prompter.onShown = nullptr;
  EXPECT_EQ(prompter.log, (QStringList{QString::fromStdString("warning: 打开测量任务: " + first + "：与 " +
                                                              first + " 是同一个文件，只计一次。"),
                                       QString::fromStdString("warning: 打开测量任务: " + second +
                                                              "：文件在打开测量时已不存在，未计入测量。")}));
  ASSERT_TRUE(opened.has_value());
  ASSERT_EQ(opened->assessed.survey.files.size(), 1u);
  EXPECT_EQ(opened->assessed.survey.leftOut,
            std::vector<std::string>{second + "：文件在打开测量时已不存在，未计入测量。"});

  // When every file has gone there is no survey.
  prompter.log.clear();
  prompter.onShown = [&] { std::filesystem::remove(first); };
  EXPECT_FALSE(open({first, first}).has_value());
  prompter.onShown = nullptr;
  ASSERT_EQ(prompter.log.size(), 2);
  EXPECT_EQ(
      prompter.log[1],
      QString::fromStdString("warning: 打开测量任务: " + first +
                             "：文件在打开测量时已不存在，未计入测量。\n\n没有可用的记录文件，测量未打开。"));
  expectStoreKept();
}

}  // namespace
}  // namespace pq
