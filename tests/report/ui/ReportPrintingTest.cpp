#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ui/PrivateCups.h"
#include "report/ui/ReportWindow.h"
#include "support/FileText.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"

namespace pq {
namespace {

using test::child;
using test::PrivateCups;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The text layer of a PDF. Qt names the glyph of an ideograph such as 大 after the Kangxi radical
// that shares it (⼤), which pdftotext then prints; NFKC folds those back, so both sides of a
// comparison are folded.
std::string folded(const std::string& producer) {
  return test::commandOutput(producer +
                             " | python3 -c 'import sys,unicodedata;"
                             "sys.stdout.write(unicodedata.normalize(\"NFKC\",sys.stdin.read()))'");
}

// `text` holds no single quote.
std::string foldedText(const std::string& text) { return folded("printf %s '" + text + "'"); }
std::string foldedPdfText(const std::string& pdf) { return folded("pdftotext -layout '" + pdf + "' -"); }

// Printing through a CUPS scheduler of the test's own, into cups-pdf queues.
class ReportPrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string whyNot;
    cups = PrivateCups::instance(whyNot);
    if (cups == nullptr) GTEST_SKIP() << "no private CUPS scheduler: " << whyNot;
    if (!QPrinterInfo::availablePrinterNames().contains("Office")) {
      GTEST_SKIP() << "this process reached another CUPS scheduler before the private one started";
    }
    PrivateCups::clear(cups->officeOutput());
    PrivateCups::clear(cups->smartPrintOutput());
    window = std::make_unique<TForm14>(prompter, windowOpen, [](ReportKind) {});
    window->showReport(page, {Phase::A, ReportQuantity::Current});
  }

  void press(const QString& hint) {
    QTest::mouseClick(&child<QToolButton>(*window, "tool:" + hint), Qt::LeftButton);
  }

  // Texts of the page that the PDF must hold.
  void expectReportTexts(const std::string& pdf) {
    ASSERT_NE(pdf, "") << "no PDF arrived";
    const std::string text = foldedPdfText(pdf);
    for (const char* expected :
         {"电能质量统计报表（A相电流）", "城东变电站", "10kV出线", "张三", "2026-12-10 08:00:00"}) {
      EXPECT_THAT(text, HasSubstr(foldedText(expected))) << expected;
    }
    EXPECT_THAT(text, HasSubstr(page.text("fundamental.max")));
  }

  PrivateCups* cups = nullptr;
  ui::ScriptedPrompter prompter;
  bool windowOpen = false;
  ReportPage page = buildReportPage(test::handFilledReport({Phase::A, ReportQuantity::Current}, 100), 1.0f,
                                    "2026-12-10 08:00:00");
  std::unique_ptr<TForm14> window;
};

TEST_F(ReportPrintingTest, PrintGoesToTheDefaultPrinter) {
  EXPECT_EQ(window->printer().printer().printerName(), "Office");
  press("Print");
  expectReportTexts(PrivateCups::waitForPdf(cups->officeOutput(), 30));
  EXPECT_THAT(prompter.log, ElementsAre());
}

TEST_F(ReportPrintingTest, ExportPdfPrintsOnSmartPrintAndGoesBackToTheCurrentPrinter) {
  ASSERT_TRUE(cups->addSmartPrint());
  press("Export  PDF");
  expectReportTexts(PrivateCups::waitForPdf(cups->smartPrintOutput(), 30));
  EXPECT_EQ(window->printer().printer().printerName(), "Office");
  EXPECT_THAT(prompter.log, ElementsAre());
  cups->removeSmartPrint();
}

TEST_F(ReportPrintingTest, ExportPdfWithoutSmartPrintSaysSoAndPrintsNothing) {
  cups->removeSmartPrint();
  press("Export  PDF");
  EXPECT_THAT(prompter.log, ElementsAre("stop: 错误 : 不存在你指定的打印机 "));
  EXPECT_EQ(PrivateCups::waitForPdf(cups->officeOutput(), 2), "");
  EXPECT_EQ(window->printer().printer().printerName(), "Office");
}

// A print that cannot start (here to a PDF file in a folder that does not exist, as the print
// dialog's print to file allows) is reported, not dropped in silence as if the report had gone out.
TEST_F(ReportPrintingTest, PrintThatCannotStartSaysSo) {
  const std::string missing = cups->officeOutput() + "/no-such-folder/report.pdf";
  window->printer().printer().setOutputFileName(QString::fromStdString(missing));
  press("Print");
  EXPECT_THAT(prompter.log, ElementsAre("error: 无法打印：打印机不可用。"));
  EXPECT_EQ(PrivateCups::waitForPdf(cups->officeOutput(), 2), "");
}

}  // namespace
}  // namespace pq
