#pragma once

class QCustomPlot;
class QPrinter;
class QWidget;

namespace pq::ui {
class Prompter;
}

namespace pq::history {

// Saving and printing a chart as shown: "保存曲线图"/"打印曲线图" of the trend pages and
// "保存波形图"/"打印波形图" of the live window. Call them through ui::connectReporting: a file that
// cannot be written or a printer that cannot print throws an error with its text for the central
// error report, and the chart is left as it was.

// Asks for a new BMP or PNG file name and writes the chart at its own size in the format its suffix
// names, white outside the chart's own panels. The name proposed is the station's and the page's,
// "城东变电站_电压偏差趋势曲线.bmp" (the page's alone without a station), so that pictures of several
// stations and pages tell themselves apart. An existing file is never overwritten: the operator is
// asked to choose again or to stop. Cancelling saves nothing.
void saveChartPicture(ui::Prompter& prompter, QWidget* parent, QCustomPlot& chart, const QString& station,
                      const QString& page);

// Prints the whole chart scaled onto one page of the default printer, without a dialog.
void printChartPicture(QCustomPlot& chart);
// The same on a printer the caller has set up (tests print to a PDF file).
void printChartPicture(QCustomPlot& chart, QPrinter& printer);

}  // namespace pq::history
