#include <gtest/gtest.h>

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "records/RecordFileGenerator.h"
#include "records/ui/RecordImportWindow.h"
#include "support/RecordFileBytes.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"

namespace pq {
namespace {

using test::child;

const QString kDialogLine = "open: 请选择原始记录文件（*.bin）";

// Remembers what the progress bar showed each time it was painted.
class PaintRecorder : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const auto* bar = static_cast<QProgressBar*>(watched);
      paints.push_back({bar->value(), bar->maximum()});
    }
    return false;
  }
  std::vector<std::pair<int, int>> paints;
};

class ImportWindowTest : public ::testing::Test {
 protected:
  std::string generated(int records) {
    GeneratorOptions options;
    options.records = records;
    std::string error;
    const std::string path = dir.file("file" + std::to_string(records) + ".bin");
    EXPECT_TRUE(generateRecordFile(path, options, error)) << error;
    return path;
  }

  void open(const std::string& path) {
    prompter.answerFile(QString::fromStdString(path));
    QTest::mouseClick(&child<QPushButton>(window, "Btn_Open"), Qt::LeftButton);
  }

  QLabel& status() { return child<QLabel>(window, "Label1"); }
  QLabel& progressText() { return child<QLabel>(window, "Label2"); }
  QProgressBar& bar() { return child<QProgressBar>(window, "ProgressBar1"); }

  test::TempDir dir;
  RecordStore store;
  ui::ScriptedPrompter prompter;
  TForm3 window{store, prompter};
};

TEST_F(ImportWindowTest, ImportsAFileAndShowsTheEnd) {
  window.show();
  EXPECT_EQ(window.windowTitle(), "记录文件操作");
  EXPECT_FALSE(status().isVisible());
  EXPECT_FALSE(bar().isVisible());
  open(generated(50));
  EXPECT_EQ(store.recordCount(), 50);
  EXPECT_EQ(store.rangeEnd, 49);
  EXPECT_EQ(prompter.log, QStringList{kDialogLine});
  EXPECT_TRUE(status().isVisible());
  EXPECT_EQ(status().text(), "文件转换完成！ ");
  EXPECT_FALSE(bar().isVisible());
  EXPECT_FALSE(progressText().isVisible());
}

TEST_F(ImportWindowTest, TheStoreIsEmptiedBeforeTheDialogSoCancelLeavesItEmpty) {
  window.show();
  open(generated(5));
  ASSERT_EQ(store.recordCount(), 5);
  prompter.log.clear();
  open("");
  EXPECT_EQ(prompter.log, QStringList{kDialogLine});
  EXPECT_EQ(store.recordCount(), 0);
}

TEST_F(ImportWindowTest, ReportsFilesThatCannotBeOpenedOrHoldNoFrame) {
  window.show();
  open(dir.file("missing.bin"));
  EXPECT_EQ(prompter.log, QStringList({kDialogLine, "message: 文件空。"}));
  EXPECT_FALSE(status().isVisible());

  prompter.log.clear();
  test::RecordFileBytes().head().bytes(std::vector<std::uint8_t>(5000, 0xEB)).save(dir.file("empty.bin"));
  open(dir.file("empty.bin"));
  EXPECT_EQ(prompter.log, QStringList({kDialogLine, "message: 文件太短，请重新保存或打开另一个文件！"}));
  EXPECT_EQ(status().text(), "文件转换完成！ ");
  EXPECT_EQ(store.recordCount(), 0);
}

TEST_F(ImportWindowTest, ProgressIsPaintedWhileTheImportRuns) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  PaintRecorder recorder;
  bar().installEventFilter(&recorder);
  const std::string path = generated(300);
  open(path);
  ASSERT_FALSE(recorder.paints.empty());
  // 300 records in 64 + 300 * 1853 bytes: the bar runs over 300 frames and is painted at 0 first.
  EXPECT_EQ(recorder.paints.front(), std::make_pair(0, 300));
}

}  // namespace
}  // namespace pq
