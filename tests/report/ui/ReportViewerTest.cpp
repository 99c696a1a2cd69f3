#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <fstream>

#include "pages/ui/ReportPreview.h"
#include "report/ReportFile.h"
#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ui/RenderedPage.h"
#include "report/ui/ReportHost.h"
#include "report/ui/ReportViewer.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"

namespace pq {
namespace {

using test::child;
using ::testing::ElementsAre;

void trigger(ReportViewer& viewer, const QString& hint) { child<QAction>(viewer, "tool:" + hint).trigger(); }

class ReportViewerTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ui::ScriptedPrompter prompter;
  ReportPage voltage =
      buildReportPage(test::handFilledReport({Phase::B, ReportQuantity::Voltage}, 100), 100.0f, "d");
  ReportPage current =
      buildReportPage(test::handFilledReport({Phase::B, ReportQuantity::Current}, 100), 1.0f, "d");
};

TEST_F(ReportViewerTest, TheHostShowsAnEmptyPageUntilAReportFileIsLoaded) {
  saveReportFile(dir.file("two.QRP"), {voltage, current});
  prompter.answerFile(QString::fromStdString(dir.file("two.QRP")));
  std::vector<int> pages;
  test::whenModalShown<ReportViewer>([&](ReportViewer& viewer) {
    EXPECT_EQ(viewer.windowTitle(), "Print Preview");
    EXPECT_EQ(viewer.preview().pages(), std::vector<ReportPage>{ReportPage{}});
    trigger(viewer, "Load Report");
    EXPECT_EQ(viewer.preview().pages(), test::rendered({voltage, current}));
    pages.push_back(viewer.preview().currentPage());
    trigger(viewer, "Last page");
    pages.push_back(viewer.preview().currentPage());
    trigger(viewer, "Next page");
    pages.push_back(viewer.preview().currentPage());
    trigger(viewer, "Previous page");
    pages.push_back(viewer.preview().currentPage());
    trigger(viewer, "Last page");
    trigger(viewer, "First page");
    pages.push_back(viewer.preview().currentPage());
    trigger(viewer, "Zoom to width");
    trigger(viewer, "100 %");
    EXPECT_DOUBLE_EQ(viewer.preview().zoomPercent(), 100);
    trigger(viewer, "Close");
  });
  TForm9 host;
  host.preview(prompter, nullptr);
  EXPECT_THAT(pages, ElementsAre(1, 2, 2, 1, 1));
  EXPECT_THAT(prompter.log, ElementsAre("open: Open Report"));
}

TEST_F(ReportViewerTest, OpensAFileGivenFromOutsideAndSavesWhatItShows) {
  saveReportFile(dir.file("a.QRP"), {current});
  prompter.answerFile(QString::fromStdString(dir.file("copy.QRP")));
  test::whenModalShown<ReportViewer>([&](ReportViewer& viewer) {
    trigger(viewer, "Save Report");
    trigger(viewer, "Close");
  });
  viewReportFile(QString::fromStdString(dir.file("a.QRP")), prompter);
  EXPECT_EQ(loadReportFile(dir.file("copy.QRP")), test::rendered(std::vector<ReportPage>{current}));

  std::ofstream(dir.file("bad.QRP")) << "QRP?";
  EXPECT_THROW(viewReportFile(QString::fromStdString(dir.file("bad.QRP")), prompter), ReportFileError);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ReportViewerTest, PrinterSetupOffersThePagesAndPrintsOnlyWhenConfirmed) {
  const QString pdf = QString::fromStdString(dir.file("p.pdf"));
  test::whenModalShown<ReportViewer>([&](ReportViewer& viewer) {
    viewer.printer().printer().setOutputFileName(pdf);
    trigger(viewer, "Printer Setup");
    EXPECT_FALSE(QFile::exists(pdf));
    prompter.answerPrintDialog(true, [&](QPrinter& printer) { printer.setOutputFileName(pdf); });
    trigger(viewer, "Printer Setup");
    trigger(viewer, "Close");
  });
  ReportViewer viewer({voltage, current}, prompter);
  viewer.exec();
  EXPECT_EQ(prompter.printDialogPages.last, 2);
  EXPECT_TRUE(QFile::exists(pdf));
}

}  // namespace
}  // namespace pq
