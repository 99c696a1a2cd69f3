#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "pages/ui/ReportPreview.h"
#include "report/ReportFile.h"
#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportPageLayout.h"
#include "report/ui/RenderedPage.h"
#include "report/ui/ReportViewer.h"
#include "report/ui/ReportWindow.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "ui/BusyAnimation.h"

namespace pq {
namespace {

using test::child;
using test::pdfText;
using test::slurp;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ReportWindowTest : public ::testing::Test {
 protected:
  ReportWindowTest() { window.showReport(page, {Phase::A, ReportQuantity::Voltage}); }

  void press(const QString& hint) {
    QTest::mouseClick(&child<QToolButton>(window, "tool:" + hint), Qt::LeftButton);
  }
  QString path(const std::string& name) const { return QString::fromStdString(dir.file(name)); }

  test::TempDir dir;
  ui::ScriptedPrompter prompter;
  bool windowOpen = false;
  std::vector<std::string> requested;
  ReportPage page = buildReportPage(test::handFilledReport({Phase::A, ReportQuantity::Voltage}, 100), 100.0f,
                                    "2026-12-10 08:00:00");
  TForm14 window{prompter, windowOpen, [this](ReportKind kind) { requested.push_back(kind.name()); }};
};

TEST_F(ReportWindowTest, ToolbarHoldsItsButtonsInOrderAndThePhaseButtonsAskTheFlow) {
  EXPECT_TRUE(windowOpen);
  EXPECT_EQ(window.windowTitle(), "Form14");
  const std::pair<const char*, int> tools[] = {
      {"Open Report", 0},     {"Save Report", 50},    {"Export  PDF", 100}, {"ExportSheet", 150},
      {"Print", 205},         {"Printer Setup", 255}, {"ZoomIn", 310},      {"ZoomOut", 360},
      {"Zoom to width", 410}, {"Zoom to fit", 460},   {"Ua  Report", 515},  {"Ub  Report", 565},
      {"Uc  Report", 615},    {"Ia  Report", 665},    {"Ib  Report", 715},  {"Ic  Report", 765},
      {"Close", 820}};
  for (const auto& [hint, x] : tools) {
    const auto& button = child<QToolButton>(window, QStringLiteral("tool:") + hint);
    EXPECT_EQ(button.geometry(), QRect(x, 5, 50, 50)) << hint;
  }
  EXPECT_EQ(child<QToolButton>(window, "tool:ExportSheet").toolTip(), "");
  EXPECT_EQ(child<QToolButton>(window, "tool:Ib  Report").toolTip(), "Ib  Report");

  press("Ib  Report");
  press("Ua  Report");
  EXPECT_THAT(requested, ElementsAre("Ib", "Ua"));

  press("Close");
  EXPECT_FALSE(windowOpen);
  EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(ReportWindowTest, ZoomStepsByFiveBetweenFiveAndTwoHundred) {
  ReportPreview& preview = window.preview();
  EXPECT_DOUBLE_EQ(preview.zoomPercent(), 100);
  for (int i = 0; i < 8; ++i) press("ZoomOut");
  EXPECT_DOUBLE_EQ(preview.zoomPercent(), 60);
  for (int i = 0; i < 20; ++i) press("ZoomOut");
  EXPECT_DOUBLE_EQ(preview.zoomPercent(), 5);
  for (int i = 0; i < 50; ++i) press("ZoomIn");
  EXPECT_DOUBLE_EQ(preview.zoomPercent(), 200);
  EXPECT_EQ(zoomedIn(198), 203);  // from a fitted zoom the step may pass 200 once
  EXPECT_EQ(zoomedOut(7), 2);
}

TEST_F(ReportWindowTest, SaveReportNeverOverwritesAndWritesTheShownPage) {
  std::ofstream(dir.file("taken.QRP")) << "keep";
  prompter.answerFile(path("taken.QRP"));
  prompter.answerYesNo(false);  // Cancel in "另存为"
  press("Save Report");
  EXPECT_EQ(slurp(dir.file("taken.QRP")), "keep");

  prompter.answerFile(path("taken.QRP"));
  prompter.answerYesNo(true);
  prompter.answerFile(path("new.QRP"));
  press("Save Report");
  EXPECT_EQ(slurp(dir.file("taken.QRP")), "keep");
  EXPECT_EQ(loadReportFile(dir.file("new.QRP")), test::rendered(std::vector<ReportPage>{page}));
  EXPECT_THAT(prompter.log, ElementsAre("save: XXX.QRP", "question: 另存为: 文件已经存在，请重新输入文件名!",
                                        "save: XXX.QRP", "question: 另存为: 文件已经存在，请重新输入文件名!",
                                        "save: XXX.QRP"));
}

TEST_F(ReportWindowTest, AReportFileThatCannotBeWrittenGoesToTheErrorReportAndLeavesNothing) {
  prompter.answerFile(path("missing/r.QRP"));
  press("Save Report");
  ASSERT_EQ(prompter.log.size(), 2);
  EXPECT_THAT(prompter.log[1].toStdString(), HasSubstr("error: "));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{});
}

TEST_F(ReportWindowTest, SpreadsheetExportAsksAgainSilentlyAndReportsTheEnd) {
  std::ofstream(dir.file("taken.xls")) << "keep";
  prompter.answerFile(path("taken.xls"));
  prompter.answerFile(path("r.xls"));
  press("ExportSheet");
  EXPECT_THAT(prompter.log, ElementsAre("save: XXX.xls", "save: XXX.xls", "information: Excel: 转换结束!"));
  EXPECT_EQ(prompter.saveFilter, "*.xls (*.xls);;Excel 工作簿 (*.xlsx);;All files (*.*)");
  EXPECT_EQ(prompter.saveSuffix, "xls");
  EXPECT_EQ(slurp(dir.file("taken.xls")), "keep");
  EXPECT_EQ(slurp(dir.file("r.xls")).substr(0, 4), "\xD0\xCF\x11\xE0");
  EXPECT_FALSE(child<QWidget>(window, "Animate1").isVisible());

  // The name's suffix, in any case, chooses the newer workbook format; the texts stay the same.
  prompter.log.clear();
  prompter.answerFile(path("r.XLSX"));
  press("ExportSheet");
  EXPECT_THAT(prompter.log, ElementsAre("save: XXX.xls", "information: Excel: 转换结束!"));
  EXPECT_EQ(slurp(dir.file("r.XLSX")).substr(0, 4), std::string("PK\x03\x04", 4));

  prompter.log.clear();
  press("ExportSheet");  // cancelled
  EXPECT_THAT(prompter.log, ElementsAre("save: XXX.xls (unanswered)"));
}

// Rows of a CSV file as LibreOffice writes it: comma separated, fields with commas or quotes quoted.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(std::move(field));
      field.clear();
    } else if (c == '\n') {
      rows.back().push_back(std::move(field));
      field.clear();
      rows.emplace_back();
    } else if (c != '\r') {
      field += c;
    }
  }
  return rows;
}

// The cells of the exported sheet, as LibreOffice converts them to CSV, hold the page's texts.
void expectPageTexts(const std::vector<std::vector<std::string>>& rows, const ReportPage& page) {
  ASSERT_GE(rows.size(), 38u);
  auto cell = [&](int row, int column) {
    return rows[row - 1].size() > std::size_t(column) ? rows[row - 1][column] : "";
  };
  EXPECT_EQ(cell(1, 0), page.text("title"));
  EXPECT_EQ(cell(2, 0), "变(配)电所名称：" + page.text("station"));
  EXPECT_EQ(cell(6, 2), page.text("fundamental.max"));
  EXPECT_EQ(cell(7, 0), page.text("unit"));
  EXPECT_EQ(cell(8, 1), "2");
  EXPECT_EQ(cell(31, 1), "25");
  EXPECT_EQ(cell(31, 7), page.text(cellKey(harmonicRow(25), "pass")));
  EXPECT_EQ(cell(35, 6), "±0.2Hz");
  EXPECT_EQ(cell(38, 3), "测试人员：张三");
}

TEST_F(ReportWindowTest, LibreOfficeOpensTheWorkbookWithThePagesTexts) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
  for (const std::string name : {"r.xls", "r.xlsx"}) {
    SCOPED_TRACE(name);
    prompter.answerFile(path(name));
    press("ExportSheet");
    const std::string command =
        "soffice -env:UserInstallation=file://" + dir.file("office") +
        " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" + dir.file("csv") +
        "' '" + dir.file(name) + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    expectPageTexts(csvRows(slurp(dir.file("csv/r.csv"))), page);
    std::remove(dir.file("csv/r.csv").c_str());
  }
}

// Only a workbook that cannot be created gets the message about a missing spreadsheet program; a
// failure after that (a full disk) goes to the error report with the system's reason. Either way no
// file, not even a temporary one, stays behind, and the busy animation stops.
TEST_F(ReportWindowTest, AFailedWorkbookIsReportedByWhereItFailedAndLeavesNothing) {
  std::ofstream(dir.file("plain")) << "a file where a folder is expected";
  struct Case {
    const char* name;
    std::string file;
    bool diskFull;
    std::string shownStart, shownEnd;
  };
  const std::string noProgram = "stop: 错误: 启动 Excel 出错, 可能是没有安装Excel.";
  const Case cases[] = {
      {"missing folder", "missing/r.xls", false, noProgram, ""},
      {"file in place of the folder", "plain/r.xls", false, noProgram, ""},
      {"full disk", "r.xls", true, "error: Excel 文件无法保存：", ": 文件太大（File too large）"},
      {"missing folder, .xlsx", "missing/r.xlsx", false, noProgram, ""},
      {"full disk, .xlsx", "r.xlsx", true, "error: Excel 文件无法保存：", ": 文件太大（File too large）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter.log.clear();
    prompter.answerFile(path(c.file));
    {
      // A file size limit fails the write as a full disk does.
      std::optional<test::FileSizeLimit> limit;
      if (c.diskFull) limit.emplace(1536);
      press("ExportSheet");
    }
    ASSERT_EQ(prompter.log.size(), 2);
    EXPECT_EQ(prompter.log[0], "save: XXX.xls");
    const std::string shown = prompter.log[1].toStdString();
    EXPECT_TRUE(shown.starts_with(c.shownStart) && shown.ends_with(c.shownEnd)) << shown;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"plain"});
    EXPECT_FALSE(child<ui::BusyAnimation>(window, "Animate1").running());
  }
}

TEST_F(ReportWindowTest, PrinterSetupPrintsOnlyWhenConfirmed) {
  const QString pdf = path("printed.pdf");
  window.printer().printer().setOutputFileName(pdf);
  press("Printer Setup");
  EXPECT_THAT(prompter.log, ElementsAre("print dialog (unanswered)"));
  EXPECT_EQ(prompter.printDialogPages.first, 1);
  EXPECT_EQ(prompter.printDialogPages.last, 1);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{});

  prompter.answerPrintDialog(true, [&](QPrinter& printer) { printer.setOutputFileName(pdf); });
  press("Printer Setup");
  EXPECT_THAT(pdfText(dir.file("printed.pdf")), HasSubstr("城东变电站"));
}

TEST_F(ReportWindowTest, ACurrentReportPrintsPageOneOnly) {
  window.showReport(
      buildReportPage(test::handFilledReport({Phase::A, ReportQuantity::Current}, 100), 1.0f, "x"),
      {Phase::A, ReportQuantity::Current});
  EXPECT_EQ(window.printer().printer().printRange(), QPrinter::PageRange);
  EXPECT_EQ(window.printer().printer().fromPage(), 1);
  window.showReport(page, {Phase::A, ReportQuantity::Voltage});
  EXPECT_EQ(window.printer().printer().printRange(), QPrinter::AllPages);
}

TEST_F(ReportWindowTest, OpenReportShowsTheFileInTheViewerAndKeepsTheWindowsPage) {
  ReportPage other =
      buildReportPage(test::handFilledReport({Phase::C, ReportQuantity::Current}, 10), 1.0f, "x");
  saveReportFile(dir.file("a.QRP"), {other, page});
  prompter.answerFile(path("a.QRP"));
  int shownPages = 0;
  QString title;
  test::whenModalShown<ReportViewer>([&](ReportViewer& viewer) {
    shownPages = viewer.preview().pageCount();
    title = viewer.windowTitle();
    EXPECT_EQ(viewer.preview().pages().front(), test::rendered(other));
    viewer.accept();
  });
  press("Open Report");
  EXPECT_EQ(shownPages, 2);
  EXPECT_EQ(title, "Print Preview");
  EXPECT_EQ(window.currentPage(), page);

  std::ofstream(dir.file("bad.QRP")) << "damaged";
  prompter.answerFile(path("bad.QRP"));
  press("Open Report");
  EXPECT_THAT(prompter.log.back().toStdString(), HasSubstr("error: "));
}

}  // namespace
}  // namespace pq
