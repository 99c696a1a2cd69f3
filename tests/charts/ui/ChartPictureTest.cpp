#include "charts/ui/ChartPicture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <stdexcept>

#include "charts/ui/SpectrumChart.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"

namespace pq::history {
namespace {

const QString kAskAgain = QStringLiteral("question: 另存为: 文件已经存在，请重新输入文件名!");

class ChartPictureTest : public ::testing::Test {
 protected:
  ChartPictureTest() {
    chart.resize(420, 260);
    SpectrumPercent values{};
    values[0] = 100;
    values[2] = 7;
    chart.showSpectrum(QStringLiteral("Ua"), values, 7);
    QFile file(existing);
    file.open(QIODevice::WriteOnly);
    file.write("old");
  }
  QByteArray existingContent() const {
    QFile file(existing);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }

  // Saves under the name of a station whose name holds characters no file name may.
  void save(QCustomPlot& picture) {
    saveChartPicture(prompter, nullptr, picture, QStringLiteral(" 城东/1#变 "), QStringLiteral("Ua频谱"));
  }

  const QString kProposed = QStringLiteral("save: 城东_1#变_Ua频谱.bmp");
  test::TempDir dir;
  const QString existing = QString::fromStdString(dir.file("old.bmp"));
  const QString fresh = QString::fromStdString(dir.file("new.bmp"));
  ui::ScriptedPrompter prompter;
  SpectrumChart chart;
};

TEST_F(ChartPictureTest, NewNameWritesABitmapOfTheChartsSize) {
  prompter.answerFile(fresh);
  save(chart);
  EXPECT_EQ(prompter.log, QStringList{kProposed});
  QFile file(fresh);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(2), QByteArray("BM"));
  const QImage image(fresh);
  EXPECT_EQ(image.size(), QSize(420, 260));
  EXPECT_EQ(image.pixelColor(1, 1), QColor(212, 208, 200));
}

TEST_F(ChartPictureTest, APngNameWritesAPngAndAPageWithoutStationIsNamedAlone) {
  const QString png = QString::fromStdString(dir.file("new.PNG"));
  prompter.answerFile(png);
  saveChartPicture(prompter, nullptr, chart, QString(), QStringLiteral("波形图"));
  EXPECT_EQ(prompter.log, QStringList{"save: 波形图.bmp"});
  EXPECT_EQ(prompter.saveFilter, QStringLiteral("BMP 图片 (*.bmp);;PNG 图片 (*.png)"));
  QFile file(png);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(4), QByteArray("\x89PNG"));
  EXPECT_EQ(QImage(png).size(), QSize(420, 260));
}

TEST_F(ChartPictureTest, ExistingFileAndOkOpensTheDialogAgain) {
  prompter.answerFile(existing);
  prompter.answerYesNo(true);
  prompter.answerFile(fresh);
  save(chart);
  EXPECT_EQ(prompter.log, (QStringList{kProposed, kAskAgain, kProposed}));
  EXPECT_EQ(existingContent(), QByteArray("old"));
  EXPECT_EQ(QImage(fresh).size(), QSize(420, 260));
}

TEST_F(ChartPictureTest, ExistingFileAndCancelSavesNothing) {
  prompter.answerFile(existing);
  prompter.answerYesNo(false);
  save(chart);
  EXPECT_EQ(prompter.log, (QStringList{kProposed, kAskAgain}));
  EXPECT_EQ(existingContent(), QByteArray("old"));
  EXPECT_EQ(dir.entries().size(), 1u);
}

TEST_F(ChartPictureTest, CancelledDialogSavesNothing) {
  prompter.answerFile(QString());
  save(chart);
  EXPECT_EQ(dir.entries().size(), 1u);
}

TEST_F(ChartPictureTest, EmptyChartIsWhiteOutsideItsPanels) {
  QCustomPlot empty;
  empty.setBackground(Qt::NoBrush);
  empty.resize(300, 200);
  prompter.answerFile(fresh);
  save(empty);
  const QImage image(fresh);
  EXPECT_EQ(image.size(), QSize(300, 200));
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(ChartPictureTest, UnwritableFileThrowsWithItsName) {
  const QString unwritable = QString::fromStdString(dir.file("missing/folder.bmp"));
  prompter.answerFile(unwritable);
  try {
    save(chart);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("missing/folder.bmp"), std::string::npos);
  }
  EXPECT_EQ(chart.titleText(), QStringLiteral("Ua各次谐波频谱图   THD_Ua=  7.00%"));
}

TEST_F(ChartPictureTest, PrintsTheChartOnOnePage) {
  const QString pdf = QString::fromStdString(dir.file("chart.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printChartPicture(chart, printer);

  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  ASSERT_TRUE(info.waitForFinished());
  const QString text = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << text.toStdString();

  // The chart's grey background covers most of the page width.
  QProcess render;
  const QString png = QString::fromStdString(dir.file("page"));
  render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"),
                                            QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png});
  ASSERT_TRUE(render.waitForFinished());
  const QImage page(png + QStringLiteral(".png"));
  ASSERT_FALSE(page.isNull());
  int grey = 0;
  const int row = page.height() / 10;
  for (int x = 0; x < page.width(); ++x) {
    const QColor c = page.pixelColor(x, row);
    if (std::abs(c.red() - 212) < 4 && std::abs(c.green() - 208) < 4 && std::abs(c.blue() - 200) < 4) ++grey;
  }
  EXPECT_GT(grey, page.width() * 3 / 4);
}

}  // namespace
}  // namespace pq::history
