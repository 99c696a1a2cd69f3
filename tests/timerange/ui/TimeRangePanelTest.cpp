#include "timerange/ui/TimeRangePanel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "base/ConversionError.h"
#include "support/StoreBuilder.h"
#include "support/ui/UiTestSupport.h"
#include "timerange/ui/DateRangeFields.h"

namespace pq::history {
namespace {

QString message(const char* text) { return QStringLiteral("message: ") + QString::fromUtf8(text); }

class TimeRangePanelTest : public ::testing::Test {
 protected:
  QRadioButton& radio(const char* caption) {
    for (QRadioButton* button : panel.findChildren<QRadioButton*>()) {
      if (button->text() == QString::fromUtf8(caption)) return *button;
    }
    throw std::runtime_error("no radio");
  }
  QLineEdit& field(DateRangeFields::End end, int part) { return panel.fields().field(end, part); }
  QStringList texts(DateRangeFields::End end) {
    QStringList result;
    for (int part = 0; part < 5; ++part) result << field(end, part).text();
    return result;
  }
  void setCustom(const QStringList& start, const QStringList& end) {
    radio("自定义").click();
    for (int part = 0; part < 5; ++part) {
      field(DateRangeFields::Start, part).setText(start[part]);
      field(DateRangeFields::Finish, part).setText(end[part]);
    }
  }

  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 19}};
  QWidget window;  // outlives the panel, which leaves it when destroyed
  TimeRangePanel panel{prompter, clock, TimeRangePanelSetup::harmonicPage()};
  QSignalSpy queries{&panel, &TimeRangePanel::queryRequested};
};

TEST_F(TimeRangePanelTest, EnteredState) {
  EXPECT_EQ(panel.title(), QStringLiteral("时间设定"));
  EXPECT_TRUE(panel.findChild<QCheckBox*>()->isChecked());
  EXPECT_TRUE(radio("显示全部").isChecked());
  EXPECT_NO_THROW(radio("当前一周"));
  EXPECT_EQ(panel.mode(), TimeRangeMode::ShowAll);
  EXPECT_EQ(texts(DateRangeFields::Start), (QStringList{"2010", "4", "19", "15", "40"}));
  EXPECT_EQ(texts(DateRangeFields::Finish), (QStringList{"2010", "4", "20", "8", "20"}));
  EXPECT_FALSE(field(DateRangeFields::Start, 0).isEnabled());

  TimeRangePanel other(prompter, clock, TimeRangePanelSetup::otherPage());
  EXPECT_EQ(other.fields().field(DateRangeFields::Finish, 3).text(), QStringLiteral("08"));
  EXPECT_NE(other.findChild<QRadioButton*>(), nullptr);
}

TEST_F(TimeRangePanelTest, ModesAndCheckBoxAskForTheQuery) {
  radio("当前一天").click();
  EXPECT_EQ(queries.count(), 1);
  EXPECT_EQ(panel.mode(), TimeRangeMode::CurrentDay);
  EXPECT_FALSE(field(DateRangeFields::Finish, 4).isEnabled());

  radio("自定义").click();
  EXPECT_EQ(queries.count(), 1);  // custom times are typed first
  EXPECT_TRUE(field(DateRangeFields::Finish, 4).isEnabled());

  panel.findChild<QPushButton*>()->click();
  EXPECT_EQ(queries.count(), 2);

  panel.findChild<QCheckBox*>()->click();
  EXPECT_EQ(queries.count(), 3);
  EXPECT_FALSE(panel.timeQuery());
  EXPECT_TRUE(field(DateRangeFields::Start, 0).isEnabled());  // still custom

  radio("当前一周").click();
  EXPECT_EQ(queries.count(), 4);
  EXPECT_EQ(panel.mode(), TimeRangeMode::LastWeek);

  field(DateRangeFields::Start, 2).setText(QStringLiteral("1"));
  panel.reset();
  EXPECT_EQ(queries.count(), 4);
  EXPECT_TRUE(radio("显示全部").isChecked());
  EXPECT_TRUE(panel.timeQuery());
  EXPECT_FALSE(field(DateRangeFields::Start, 0).isEnabled());
  EXPECT_EQ(field(DateRangeFields::Start, 2).text(), QStringLiteral("19"));
}

TEST_F(TimeRangePanelTest, KeyFilter) {
  radio("自定义").click();
  QLineEdit& year = field(DateRangeFields::Start, 0);
  QLineEdit& minute = field(DateRangeFields::Start, 4);
  QTest::keyClicks(&year, QStringLiteral("5a"));
  EXPECT_EQ(year.text(), QStringLiteral("2010"));  // a fifth digit and letters are dropped
  QTest::keyClick(&year, Qt::Key_Backspace);
  QTest::keyClicks(&year, QStringLiteral("x9"));
  EXPECT_EQ(year.text(), QStringLiteral("2019"));
  minute.end(false);
  QTest::keyClicks(&minute, QStringLiteral("1-"));
  EXPECT_EQ(minute.text(), QStringLiteral("40"));
  minute.clear();
  QTest::keyClick(&minute, Qt::Key_Return);  // dropped: nothing to check
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(TimeRangePanelTest, EnterChecksTheField) {
  radio("自定义").click();
  const struct {
    int part;
    const char* text;
    const char* message;
    const char* after;
  } cases[] = {
      {1, "13", "不合法的月份。请重新输入'1-12'。", ""}, {2, "0", "不合法的日期。请重新输入'1-31'。", ""},
      {3, "24", "不合法的小时。请重新输入'0-23'。", ""}, {4, "60", "不合法的分钟。请重新输入'0-59'。", ""},
      {0, "199", "请按四位数字格式输入年份。", "199"},   {0, "1999", "不合法的年份。请重新输入。", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    prompter.log.clear();
    QLineEdit& edit = field(DateRangeFields::Finish, c.part);
    edit.setText(QString::fromUtf8(c.text));
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(prompter.log, QStringList{message(c.message)});
    EXPECT_EQ(edit.text(), QString::fromUtf8(c.after));
  }
  prompter.log.clear();
  field(DateRangeFields::Finish, 1).setText(QStringLiteral("12"));
  QTest::keyClick(&field(DateRangeFields::Finish, 1), Qt::Key_Enter);
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(TimeRangePanelTest, LeavingAFieldChecksItAndFocusReturns) {
  panel.setParent(&window);
  test::showActive(window);
  radio("自定义").click();
  QLineEdit& month = field(DateRangeFields::Start, 1);
  QLineEdit& day = field(DateRangeFields::Start, 2);
  month.setFocus();
  month.setText(QStringLiteral("0"));
  QTest::keyClick(&month, Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_EQ(prompter.log, QStringList{message("不合法的月份。请重新输入'1-12'。")});
  EXPECT_TRUE(month.text().isEmpty());
  EXPECT_TRUE(month.hasFocus());

  // An empty field is reported when left, and keeps neither focus nor anything else.
  prompter.log.clear();
  day.setFocus();
  QApplication::processEvents();
  EXPECT_EQ(prompter.log, QStringList{message("查询时间不正确，请重新输入!")});
  EXPECT_TRUE(day.hasFocus());
}

TEST_F(TimeRangePanelTest, DoubleClickEmptiesAField) {
  radio("自定义").click();
  QLineEdit& hour = field(DateRangeFields::Finish, 3);
  QTest::mouseDClick(&hour, Qt::LeftButton);
  EXPECT_TRUE(hour.text().isEmpty());
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(TimeRangePanelTest, SelectsTheRangeOfTheChoice) {
  RecordStore store;
  test::appendRecord(store, 2010, 4, 19, 15, 39);
  test::appendRecord(store, 2010, 4, 19, 15, 40);
  test::appendRecord(store, 2010, 4, 19, 15, 41);

  setCustom({"2010", "4", "19", "15", "40"}, {"2010", "4", "19", "15", "40"});
  EXPECT_TRUE(panel.selectTimeRange(store));
  EXPECT_EQ(store.rangeStart, 1);
  EXPECT_EQ(store.rangeEnd, 2);
  EXPECT_TRUE(prompter.log.isEmpty());

  setCustom({"2010", "4", "19", "16", "00"}, {"2010", "4", "19", "15", "00"});
  EXPECT_TRUE(panel.selectTimeRange(store));
  EXPECT_EQ(prompter.log, QStringList{message("终止时间必须大于开始时间，请重新输入。")});

  // An empty field stops the query before the range changes.
  prompter.log.clear();
  store.rangeStart = 1;
  store.rangeEnd = 3;
  field(DateRangeFields::Start, 4).clear();
  EXPECT_FALSE(panel.selectTimeRange(store));
  EXPECT_EQ(prompter.log, QStringList{message("查询时间不正确，请重新输入!")});
  EXPECT_EQ(store.rangeStart, 1);

  setCustom({"2010", "2", "31", "16", "00"}, {"2010", "4", "19", "15", "00"});
  EXPECT_THROW(panel.selectTimeRange(store), ConversionError);
  EXPECT_EQ(store.rangeEnd, 3);

  radio("显示全部").click();
  EXPECT_TRUE(panel.selectTimeRange(store));
  EXPECT_EQ(store.rangeStart, 0);
  EXPECT_EQ(store.rangeEnd, 3);
  panel.showRangeInFields(store);
  EXPECT_EQ(texts(DateRangeFields::Start), (QStringList{"2010", "4", "19", "15", "39"}));
  EXPECT_EQ(texts(DateRangeFields::Finish), (QStringList{"2010", "4", "19", "15", "41"}));
}

TEST_F(TimeRangePanelTest, CurrentDayReportsAClockThatIsBehind) {
  RecordStore store;
  test::appendRecord(store, 2010, 4, 20, 8, 0);
  radio("当前一天").click();
  EXPECT_TRUE(panel.selectTimeRange(store));
  EXPECT_EQ(prompter.log, QStringList{message("仪器时间或系统时间不对，请调整时间。")});
  EXPECT_EQ(store.rangeStart, 1);
  EXPECT_EQ(store.rangeEnd, 1);
}

TEST_F(TimeRangePanelTest, ReportWindowFields) {
  DateRangeFields fields(prompter, QStringLiteral("开    始     时      间："),
                         QStringLiteral("终     止     时     间："));
  fields.setTexts({{"2010", "03", "19", "16", "40"}}, {{"2010", "03", "19", "16", "55"}});
  EXPECT_TRUE(fields.field(DateRangeFields::Start, 0).isEnabled());
  EXPECT_EQ(fields.start().dateTimeText(":00"), "2010-03-19 16:40:00");
  EXPECT_EQ(fields.field(DateRangeFields::Start, 0).accessibleName(), QStringLiteral("开始时间年"));
  RecordStore store;
  fields.showStoreSpan(store);  // nothing without records
  EXPECT_EQ(fields.end().texts[4], "55");
  test::appendRecord(store, 2009, 12, 31, 23, 5);
  fields.showStoreSpan(store);
  EXPECT_EQ(fields.end().texts, (std::array<std::string, 5>{"2009", "12", "31", "23", "5"}));
  fields.field(DateRangeFields::Finish, 2).clear();
  EXPECT_TRUE(fields.anyEmpty());
}

}  // namespace
}  // namespace pq::history
