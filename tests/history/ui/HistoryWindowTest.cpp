#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "app/MainWindow.h"
#include "history/RecordGridTexts.h"
#include "history/ui/HistoryWindow.h"
#include "history/ui/IntervalTimeTicker.h"
#include "history/ui/RecordBrowserPage.h"
#include "history/ui/RecordGrid.h"
#include "history/ui/TrendPage.h"
#include "records/RecordFileGenerator.h"
#include "records/RecordFileImport.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingListener.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"
#include "support/XlsxReadBack.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "timerange/EpochSeconds.h"
#include "timerange/ui/DateRangeFields.h"
#include "timerange/ui/TimeRangePanel.h"

namespace pq {
namespace {

using test::child;

const QString kQuestion = "question: 删除提示！: 确认删除吗?";

class HistoryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { store.resetDefaults(); }

  // Imports a generated file of `records` records, so that deletions have a file to rewrite.
  void importGenerated(int records, int intervalSeconds = 60) {
    GeneratorOptions options;
    options.records = records;
    options.intervalSeconds = intervalSeconds;
    std::string error;
    const std::string path = dir.file("records.bin");
    ASSERT_TRUE(generateRecordFile(path, options, error)) << error;
    test::RecordingListener listener;
    importRecordFile(store, path, listener);
    ASSERT_EQ(store.recordCount(), records);
  }

  // Opens the window on `page` and lets it become active, which runs the page's entry action.
  TForm4& open(int page = TForm4::Browser) {
    window = std::make_unique<TForm4>(store, prompter, clock, page);
    test::showActive(*window);
    return *window;
  }

  QPushButton& button(const QString& name) { return child<QPushButton>(*window, name); }
  QString limits() {
    return child<QLabel>(*window, "trackMin").text() + ".." + child<QLabel>(*window, "trackMax").text();
  }
  history::RecordGrid& grid() { return *window->findChild<history::RecordGrid*>(); }
  QSlider& trackBar() { return *window->findChild<QSlider*>(); }
  QLineEdit& field(const QString& accessibleName) {
    for (QLineEdit* edit : window->browser().findChildren<QLineEdit*>())
      if (edit->accessibleName() == accessibleName) return *edit;
    throw std::runtime_error("no field " + accessibleName.toStdString());
  }
  std::vector<bool> navigationEnabled() {
    std::vector<bool> enabled;
    for (const char* name : {"第一条", "前一条", "后一条", "最后一条", "删除本条"})
      enabled.push_back(button(QString::fromUtf8(name)).isEnabled());
    return enabled;
  }
  void batchDelete(const QString& start, const QString& end) {
    field("起始位置：").setText(start);
    field("终止位置：").setText(end);
    button("批量删除").click();
  }
  int recordsInFile() {
    RecordStore reread;
    test::RecordingListener listener;
    importRecordFile(reread, store.fileName, listener);
    return reread.recordCount();
  }

  test::TempDir dir;
  RecordStore store;
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 19}};
  std::unique_ptr<TForm4> window;
};

TEST_F(HistoryWindowTest, OpensOnTheFirstRecord) {
  importGenerated(10);
  open();
  EXPECT_EQ(window->windowTitle(), "历史数据查阅");
  EXPECT_EQ(window->size(), QSize(1005, 733));
  EXPECT_EQ(window->pages().count(), 5);
  EXPECT_EQ(window->pages().tabText(4), "功率及功率因数趋势曲线");
  EXPECT_EQ(field("位置：").text(), "1");
  EXPECT_EQ(field("本条记录测试日期：").text(), "2010- 4-19 15:39: 0");
  EXPECT_EQ(navigationEnabled(), (std::vector<bool>{false, false, true, true, true}));
  EXPECT_EQ(grid().cellText(0, 0), "     数据名称");
  EXPECT_EQ(grid().cellText(1, 1), "三相四线");
  EXPECT_EQ(grid().cellText(65, 2), "64次谐波");
  EXPECT_EQ(trackBar().maximum(), 9);
  EXPECT_EQ(limits(), "1..10");
}

TEST_F(HistoryWindowTest, NavigationButtonsAndTrackBar) {
  importGenerated(5);
  open();
  button("最后一条").click();
  EXPECT_EQ(field("位置：").text(), "5");
  EXPECT_EQ(navigationEnabled(), (std::vector<bool>{true, true, false, false, true}));
  button("前一条").click();
  EXPECT_EQ(field("位置：").text(), "4");
  EXPECT_EQ(navigationEnabled(), (std::vector<bool>{true, true, true, true, true}));
  trackBar().setValue(1);
  EXPECT_EQ(field("位置：").text(), "2");
  EXPECT_EQ(field("本条记录测试日期：").text(), "2010- 4-19 15:40: 0");
  button("第一条").click();
  EXPECT_EQ(trackBar().value(), 0);
  // The keyboard moves the track bar as well.
  trackBar().setFocus();
  QTest::keyClick(&trackBar(), Qt::Key_Down);
  EXPECT_EQ(field("位置：").text(), "2");
}

TEST_F(HistoryWindowTest, OneRecordThenNone) {
  importGenerated(1);
  open();
  EXPECT_EQ(navigationEnabled(), (std::vector<bool>{false, false, false, false, true}));
  prompter.answerYesNo(true);
  button("删除本条").click();
  EXPECT_EQ(prompter.log, QStringList{kQuestion});
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_FALSE(window->pages().isEnabled());
  EXPECT_EQ(navigationEnabled(), std::vector<bool>(5, false));
  EXPECT_EQ(limits(), "0..0");
  EXPECT_EQ(grid().cellText(1, 1), "");
  EXPECT_EQ(grid().cellText(2, 3), "");
  EXPECT_EQ(grid().cellText(65, 8), "");
  EXPECT_EQ(grid().cellText(6, 0), " Ua有效值");
  EXPECT_EQ(recordsInFile(), 0);
}

TEST_F(HistoryWindowTest, CancellingTheQuestionDeletesNothing) {
  importGenerated(3);
  open();
  prompter.answerYesNo(false);
  button("删除本条").click();
  EXPECT_EQ(store.recordCount(), 3);
  EXPECT_EQ(recordsInFile(), 3);
}

TEST_F(HistoryWindowTest, DeletingTheShownLastRecordShowsTheNewLast) {
  importGenerated(5);
  open();
  button("最后一条").click();
  prompter.answerYesNo(true);
  button("删除本条").click();
  EXPECT_EQ(field("位置：").text(), "4");
  EXPECT_EQ(limits(), "1..4");
  EXPECT_EQ(trackBar().maximum(), 3);
  EXPECT_EQ(navigationEnabled(), (std::vector<bool>{true, true, false, false, true}));
  EXPECT_EQ(recordsInFile(), 4);
}

TEST_F(HistoryWindowTest, BatchDeletePastTheEnd) {
  importGenerated(10);
  open();
  prompter.answerYesNo(true);
  batchDelete("3", "99");
  EXPECT_EQ(store.recordCount(), 2);
  EXPECT_EQ(field("位置：").text(), "2");
  EXPECT_EQ(field("起始位置：").text(), "");
  EXPECT_EQ(field("终止位置：").text(), "");
  EXPECT_EQ(recordsInFile(), 2);
  EXPECT_EQ(prompter.log, QStringList{kQuestion});
}

TEST_F(HistoryWindowTest, BatchDeleteRefusals) {
  importGenerated(10);
  open();
  struct Case {
    const char* start;
    const char* end;
    const char* message;
  };
  const Case cases[] = {{"5", "4", "message: 输入删除位置不正确，请重新输入！"},
                        {"0", "4", "message: 输入删除位置不正确，请重新输入！"},
                        {"11", "12", "message: 输入删除位置不正确，请重新输入！"},
                        {"", "4", "message: 删除位置空，请重新输入！"},
                        {"3", "", "message: 删除位置空，请重新输入！"}};
  for (const auto& c : cases) {
    prompter.log.clear();
    batchDelete(c.start, c.end);
    EXPECT_EQ(prompter.log, QStringList{c.message}) << c.start << ".." << c.end;
  }
  EXPECT_EQ(store.recordCount(), 10);
  // All records at once: the window has nothing left to show.
  prompter.answerYesNo(true);
  batchDelete("1", "10");
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_FALSE(window->pages().isEnabled());
}

TEST_F(HistoryWindowTest, PositionFieldsTakeDigitsOnly) {
  importGenerated(3);
  open();
  QLineEdit& start = field("起始位置：");
  start.setFocus();
  QTest::keyClicks(&start, "1a2-b ");
  EXPECT_EQ(start.text(), "12");
  QTest::keyClick(&start, Qt::Key_Backspace);
  EXPECT_EQ(start.text(), "1");
  // Enter in the filled field presses no button of the window.
  QTest::keyClick(&start, Qt::Key_Return);
  EXPECT_TRUE(prompter.log.isEmpty());
  EXPECT_EQ(store.recordCount(), 3);
}

// Keys that type nothing keep their editing meaning in the position fields, as in every other field.
TEST_F(HistoryWindowTest, PositionFieldsLeaveTabDeleteAndEscToTheirUsualMeaning) {
  importGenerated(3);
  open();
  QLineEdit& start = field("起始位置：");
  QLineEdit& end = field("终止位置：");
  start.setFocus();
  QTest::keyClicks(&start, "47");
  start.setCursorPosition(0);
  QTest::keyClick(&start, Qt::Key_Delete);
  EXPECT_EQ(start.text(), "7");

  // Esc goes on to the window instead of ending in the field.
  struct EscSeen : QObject {
    bool seen = false;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        seen = true;
      return false;
    }
  } escSeen;
  window->browser().installEventFilter(&escSeen);
  QTest::keyClick(&start, Qt::Key_Escape);
  window->browser().removeEventFilter(&escSeen);
  EXPECT_TRUE(escSeen.seen);

  QTest::keyClick(&start, Qt::Key_Tab);
  EXPECT_TRUE(end.hasFocus());
  EXPECT_EQ(start.text(), "7");
}

// The deletion stays in the window; the file is left as it was and the message says why.
TEST_F(HistoryWindowTest, AFileThatCannotBeWrittenIsReportedAndTheDeletionStands) {
  enum class Fault { FolderGone, DiskFull, PartialImport };
  struct Case {
    Fault fault;
    QString message, reason;  // the system's reason ends the message after the file's name
  };
  const Case cases[] = {
      {Fault::FolderGone, "message: 文件不存在!", ""},
      {Fault::DiskFull, "message: 记录文件写入失败，原文件未改动：", ": File too large"},
      {Fault::PartialImport, "message: 记录文件未完整读入，删除不能写回文件，原文件未改动。", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    store.clear();
    importGenerated(4);
    const std::vector<std::uint8_t> original = test::readBytes(store.fileName);
    if (c.fault == Fault::FolderGone) store.fileName = dir.file("gone/records.bin");
    if (c.fault == Fault::PartialImport) store.incompleteImport = true;
    open();
    prompter.log.clear();
    prompter.answerYesNo(true);
    {
      // A file size limit fails the write as a full disk does.
      std::optional<test::FileSizeLimit> limit;
      if (c.fault == Fault::DiskFull) limit.emplace(4096);
      button("删除本条").click();
    }
    ASSERT_EQ(prompter.log.size(), 2);
    EXPECT_EQ(prompter.log[0], kQuestion);
    const QString& shown = prompter.log[1];
    if (c.reason.isEmpty()) {
      EXPECT_EQ(shown, c.message);
    } else {
      EXPECT_TRUE(shown.startsWith(c.message) && shown.endsWith(c.reason)) << shown.toStdString();
    }
    EXPECT_EQ(store.recordCount(), 3);
    EXPECT_EQ(field("位置：").text(), "1");
    EXPECT_EQ(test::readBytes(dir.file("records.bin")), original);
  }
}

TEST_F(HistoryWindowTest, ChannelRadiosChooseTheSpectrum) {
  importGenerated(2);
  open();
  auto radios = window->browser().findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 6);
  EXPECT_TRUE(radios[0]->isChecked());
  radios[4]->click();
  EXPECT_EQ(field("位置：").text(), "1");
}

TEST_F(HistoryWindowTest, GridAndButtonsReachAssistiveTechnology) {
  importGenerated(2);
  open();
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid());
  ASSERT_NE(table, nullptr);
  ASSERT_NE(table->tableInterface(), nullptr);
  QAccessibleInterface* cell = table->tableInterface()->cellAt(5, 0);  // row 6 of the grid
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(QAccessible::Name), " Ua有效值");
  for (const char* name : {"第一条", "删除本条", "批量删除"}) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&button(QString::fromUtf8(name)));
    EXPECT_TRUE(iface->text(QAccessible::Name).startsWith(QString::fromUtf8(name)));
  }
}

TEST_F(HistoryWindowTest, OpensOnTheCommandsPageAndDrawsAllRecords) {
  importGenerated(30);
  open(TForm4::ComponentTrend);
  EXPECT_EQ(window->pages().currentIndex(), TForm4::ComponentTrend);
  const history::TrendChart& chart = window->trendPage(TForm4::ComponentTrend).chart();
  EXPECT_EQ(chart.titleText(), "正序电压分量变化曲线图");
  EXPECT_EQ(chart.curve(0).data()->size(), 30);
  EXPECT_EQ(chart.yAxis->label(), "单位:KV");
}

TEST_F(HistoryWindowTest, DeletingRecordsLeavesNoStaleCurve) {
  importGenerated(20);
  open(TForm4::PowerTrend);
  EXPECT_EQ(window->trendPage(TForm4::PowerTrend).chart().curve(0).data()->size(), 20);
  window->pages().setCurrentIndex(TForm4::Browser);
  prompter.answerYesNo(true);
  batchDelete("5", "20");
  window->pages().setCurrentIndex(TForm4::PowerTrend);
  EXPECT_EQ(window->trendPage(TForm4::PowerTrend).chart().curve(0).data()->size(), 4);
}

// 150 records a second apart from 15:39:00: minutes 15:39, 15:40 and 15:41 (30 records), in the
// ten minutes from 15:30 and from 15:40.
TEST_F(HistoryWindowTest, MinuteValuesFollowTheSwitchAndTheDeletions) {
  importGenerated(150, 1);
  open(TForm4::PowerTrend);
  auto& page = window->trendPage(TForm4::PowerTrend);
  auto points = [&] { return page.chart().curve(0).data()->size(); };
  EXPECT_EQ(points(), 150);
  child<QRadioButton>(page, "oneMinute").click();
  EXPECT_EQ(points(), 3);
  EXPECT_EQ(page.chart().curve(0).data()->at(1)->key, epochSeconds({2010, 4, 19, 15, 40, 0}));
  child<QRadioButton>(page, "tenMinutes").click();
  EXPECT_EQ(points(), 2);

  // The minutes of the records left after a deletion, not those kept from before it.
  window->pages().setCurrentIndex(TForm4::Browser);
  prompter.answerYesNo(true);
  batchDelete("100", "150");
  window->pages().setCurrentIndex(TForm4::PowerTrend);
  child<QRadioButton>(page, "oneMinute").click();
  EXPECT_EQ(points(), 2);
  child<QRadioButton>(page, "everyRecord").click();
  EXPECT_EQ(points(), 99);
}

TEST_F(HistoryWindowTest, LimitsAreHiddenAtFirstAndShownWhenTicked) {
  // Generated at 10 kV behind a voltage transformer: the band of 20 kV and below.
  importGenerated(30, 60);
  open(TForm4::DeviationTrend);
  auto& page = window->trendPage(TForm4::DeviationTrend);
  EXPECT_FALSE(page.limitBox().isChecked());
  EXPECT_EQ(page.chart().limitLineCount(), 0);
  page.limitBox().setChecked(true);
  std::vector<double> lines;
  for (int i = 0; i < page.chart().itemCount(); ++i)
    if (auto* line = qobject_cast<QCPItemStraightLine*>(page.chart().item(i)))
      lines.push_back(line->point1->value());
  EXPECT_EQ(lines, (std::vector<double>{7, -7}));
  // The instrument's time labels stay on its own pages, at every resolution.
  child<QRadioButton>(page, "oneMinute").click();
  EXPECT_EQ(dynamic_cast<history::ReadableTimeTicker*>(page.chart().xAxis->ticker().data()), nullptr);
  EXPECT_EQ(page.chart().limitLineCount(), 4) << "still ticked after another query";
}

TEST_F(HistoryWindowTest, ExportsWhatTheChartDraws) {
  importGenerated(150, 1);
  open(TForm4::PowerTrend);
  auto& page = window->trendPage(TForm4::PowerTrend);
  child<QRadioButton>(page, "oneMinute").click();
  const std::string minutes = dir.file("分钟.csv");
  prompter.answerFile(QString::fromStdString(minutes));
  child<QPushButton>(page, "exportData").click();
  QFile file(QString::fromStdString(minutes));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_EQ(lines.size(), 5);  // heading, three minutes, the end of the last line
  EXPECT_TRUE(lines[0].startsWith("\xEF\xBB\xBF起始时间,记录条数,含电压事件,A相电压有效值(KV),")) << lines[0].toStdString();
  EXPECT_TRUE(lines[1].startsWith("2010-04-19 15:39:00,60,0,"));
  EXPECT_TRUE(lines[3].startsWith("2010-04-19 15:41:00,30,0,"));

  child<QRadioButton>(page, "everyRecord").click();
  const std::string records = dir.file("记录.xlsx");
  prompter.answerFile(QString::fromStdString(records));
  child<QPushButton>(page, "exportData").click();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(records)));
  EXPECT_TRUE(prompter.log.filter("error").isEmpty()) << prompter.log.join('\n').toStdString();
  const auto cells = test::readBackWorkbook(records);
  if (!cells) GTEST_SKIP() << "python3-openpyxl is not installed";
  for (const std::string& line : std::vector<std::string>{
           "说明 3 2 text 2010-04-19 15:39:00 – 2010-04-19 15:41:29", "说明 4 2 text 1 s",
           "说明 5 2 text " + dir.file("records.bin"), "说明 8 1 text 记录", "记录 1 6 text A相电压有效值(KV)",
           "记录 151 1 number 149"}) {
    EXPECT_NE(std::find(cells->begin(), cells->end(), line), cells->end()) << line;
  }

  // A place the system refuses is named with its reason in Chinese.
  prompter.answerFile(QString::fromStdString(dir.file("missing/分钟.csv")));
  child<QPushButton>(page, "exportData").click();
  EXPECT_EQ(prompter.log.back().toStdString(),
            "error: 数据无法导出：" + dir.file("missing") + ": 文件或文件夹不存在（No such file or directory）");
}

// As the event list opens the trend around an event: the page's first entry draws that range only.
TEST_F(HistoryWindowTest, AnEntryRangeIsDrawnInsteadOfAllRecords) {
  importGenerated(150, 1);
  window = std::make_unique<TForm4>(store, prompter, clock, TForm4::DeviationTrend);
  window->enterWithRange(DateFieldGroup::ofMinute({2010, 4, 19, 15, 40, 17}),
                         DateFieldGroup::ofMinute({2010, 4, 19, 15, 40, 45}));
  test::showActive(*window);
  auto& page = window->trendPage(TForm4::DeviationTrend);
  // 15:40:00 up to the record at the end time 15:40:59, which a range leaves out.
  EXPECT_EQ(page.chart().curve(0).data()->size(), 59);
  EXPECT_EQ(page.panel().mode(), TimeRangeMode::Custom);
  // Entering the page again shows all records, as always.
  window->pages().setCurrentIndex(TForm4::Browser);
  window->pages().setCurrentIndex(TForm4::DeviationTrend);
  EXPECT_EQ(page.chart().curve(0).data()->size(), 150);
}

TEST_F(HistoryWindowTest, PowerListRenamesTheBoxesAndKeepsTheTicks) {
  importGenerated(5);
  open(TForm4::PowerTrend);
  auto& page = window->trendPage(TForm4::PowerTrend);
  QList<QCheckBox*> boxes;  // three-dimensional view, A, B, C, total
  for (QCheckBox* box : page.findChildren<QCheckBox*>())
    if (box->text() != "时间查询" && box != &page.limitBox()) boxes << box;
  ASSERT_EQ(boxes.size(), 5);
  boxes[4]->setChecked(true);
  page.findChild<QListWidget*>()->setCurrentRow(1);
  EXPECT_EQ(boxes[1]->text(), "A相无功功率");
  EXPECT_EQ(boxes[4]->text(), "三相总无功");
  EXPECT_TRUE(boxes[1]->isChecked());
  EXPECT_TRUE(boxes[4]->isChecked());
  EXPECT_FALSE(boxes[2]->isChecked());
  EXPECT_EQ(page.chart().titleText(), "无功功率趋势曲线");
  EXPECT_TRUE(page.chart().curve(3).visible());
  EXPECT_FALSE(page.chart().curve(1).visible());
}

TEST_F(HistoryWindowTest, DamagedRecordsDrawOnEveryPage) {
  for (int i = 0; i < 3; ++i) {
    MeasurementRecord& record = test::appendRecord(store, 2010, 4, 19, 15, i, 0, i == 1 ? 7 : 1);
    record.setValue(cells::uaRms, i == 0 ? std::numeric_limits<float>::quiet_NaN() : 10.0f);
    record.setValue(cells::frequency, std::numeric_limits<float>::infinity());
    record.setValue(cells::harmonic(Ua, 1), 0);
    record.setValue(cells::pA, -std::numeric_limits<float>::infinity());
    record.setValue(cells::angleUaUb, std::numeric_limits<float>::quiet_NaN());
  }
  store.nominalVoltage = 0;
  open();
  EXPECT_EQ(grid().cellText(6, 1), "NAN  V");
  for (int page = TForm4::HarmonicTrend; page <= TForm4::PowerTrend; ++page) {
    window->pages().setCurrentIndex(page);
    const QCPRange axis = window->trendPage(page).chart().yAxis->range();
    EXPECT_TRUE(std::isfinite(axis.lower) && std::isfinite(axis.upper) && axis.lower < axis.upper) << page;
    window->trendPage(page).chart().grab();
  }
}

// Large values make the widest texts the grid can get; each must fit inside its cell.
TEST_F(HistoryWindowTest, LargeValuesAreNotCutOff) {
  MeasurementRecord& record = test::appendRecord(store, 2010, 4, 19, 15, 0);
  for (int cell = cells::uaRms; cell <= cells::pfTotal; ++cell) record.setValue(cell, -12345.678f);
  for (int channel = Ua; channel <= Ic; ++channel) {
    record.setValue(cells::harmonic(channel, 0), 99.99f);
    for (int order = 1; order <= 64; ++order) record.setValue(cells::harmonic(channel, order), 9999.999f);
  }
  open();
  const QFontMetrics metrics(grid().font());
  for (int row = 1; row < RecordGridTexts::kRows; ++row) {
    for (int column = 0; column < RecordGridTexts::kColumns; ++column) {
      const QString text = grid().cellText(row, column);
      EXPECT_LE(3 + metrics.horizontalAdvance(text), grid().columnWidth(column))
          << row << ',' << column << ' ' << text.toStdString();
    }
  }
}

TEST_F(HistoryWindowTest, AnEmptyDateFieldStopsTheQuery) {
  importGenerated(5);
  open(TForm4::DeviationTrend);
  auto& page = window->trendPage(TForm4::DeviationTrend);
  page.panel().fields().field(history::DateRangeFields::Start, 2).clear();
  prompter.log.clear();
  page.runQuery();
  EXPECT_EQ(prompter.log, QStringList{"message: 查询时间不正确，请重新输入!"});
  EXPECT_EQ(page.chart().curve(0).data()->size(), 0);
}

TEST_F(HistoryWindowTest, SavingAChartAsksForANewFile) {
  importGenerated(5);
  open(TForm4::HarmonicTrend);
  const QString path = QString::fromStdString(dir.file("chart.bmp"));
  prompter.answerFile(path);
  prompter.log.clear();
  for (QPushButton* b : window->trendPage(TForm4::HarmonicTrend).findChildren<QPushButton*>())
    if (b->text() == "保存曲线图") b->click();
  // The page's name alone: the generated file names no station.
  EXPECT_EQ(prompter.log, QStringList{"save: 各次谐波趋势曲线.bmp"});
  EXPECT_TRUE(QFile::exists(path));
}

TEST(HistoryCommands, OpenTheWindowOnTheirPage) {
  ui::ScriptedPrompter prompter;
  TForm1 main(prompter);
  test::appendRecord(main.store(), 2010, 4, 19, 15, 40);
  main.updateHistoryCommands();
  const char* commands[] = {"menu:查阅记录", "menu:分量及频率趋势曲线", "tool:功率及功率因数趋势曲线"};
  const int pages[] = {0, 2, 4};
  for (int i = 0; i < 3; ++i) {
    int shownPage = -1;
    test::whenModalShown<TForm4>([&](TForm4& window) {
      shownPage = window.pages().currentIndex();
      window.close();
    });
    main.findChild<QAction*>(QString::fromUtf8(commands[i]))->trigger();
    EXPECT_EQ(shownPage, pages[i]) << commands[i];
  }
}

}  // namespace
}  // namespace pq
