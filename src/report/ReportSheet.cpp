#include "report/ReportSheet.h"

#include "report/ReportPageLayout.h"

namespace pq {

namespace {

using xls::CellRange;
using xls::Edge;
using xls::HorizontalAlignment;
using xls::Line;
using xls::VerticalAlignment;
using xls::Worksheet;

// Writes by A1 reference, as the sheet is described.
class SheetWriter {
 public:
  SheetWriter(Worksheet& sheet, const ReportPage& page) : sheet_(sheet), page_(page) {}

  void text(const char* cell, const std::string& value) {
    const CellRange at = CellRange::parse(cell);
    sheet_.setText(at.firstRow, at.firstColumn, value);
  }
  void merged(const char* range, const std::string& value) {
    const CellRange at = CellRange::parse(range);
    sheet_.merge(at);
    sheet_.setText(at.firstRow, at.firstColumn, value);
  }
  void labelled(const char* range, const char* label, const char* key) {
    merged(range, label + page_.text(key));
  }
  void horizontal(const char* range, HorizontalAlignment alignment) {
    sheet_.setHorizontal(CellRange::parse(range), alignment);
  }
  void vertical(const char* range, VerticalAlignment alignment) {
    sheet_.setVertical(CellRange::parse(range), alignment);
  }

  // Columns C.. of one sheet row from the page row's cells in the given order.
  void values(int sheetRow, const std::string& pageRow, std::initializer_list<const char*> columns) {
    int column = 2;
    for (const char* name : columns)
      sheet_.setText(sheetRow - 1, column++, page_.text(cellKey(pageRow, name)));
  }

  void harmonicBlock() {
    for (int order = 2; order <= 25; ++order) sheet_.setInteger(order + 6 - 1, 1, order);
    // Column by column, C to H.
    const char* columns[] = {"max", "min", "avg", "p95", "permitted", "pass"};
    for (int c = 0; c < 6; ++c) {
      for (int order = 2; order <= 25; ++order) {
        sheet_.setText(order + 6 - 1, 2 + c, page_.text(cellKey(harmonicRow(order), columns[c])));
      }
    }
  }

  void verticalText(const char* const (&texts)[12]) {
    for (int i = 0; i < 12; ++i) sheet_.setText(9 + i, 0, texts[i]);
  }

  void tableHeader(int row) {
    const std::string r = std::to_string(row);
    merged(("A" + r + ":B" + r).c_str(), "参数");
    const char* titles[] = {"最大值", "最小值", "平均值", "概率值", "允许值", "合格率", "备  注"};
    for (int c = 0; c < 7; ++c) sheet_.setText(row - 1, 2 + c, titles[c]);
  }

  void borders(const char* table) {
    const CellRange range = CellRange::parse(table);
    for (Edge edge : {Edge::Left, Edge::Top, Edge::Bottom, Edge::Right})
      sheet_.setBorder(range, edge, Line::Medium);
    sheet_.setBorder(range, Edge::InsideVertical, Line::Thin);
    sheet_.setBorder(range, Edge::InsideHorizontal, Line::Thin);
  }
  void noInsideHorizontal(const char* range) {
    sheet_.setBorder(CellRange::parse(range), Edge::InsideHorizontal, Line::None);
  }

 private:
  Worksheet& sheet_;
  const ReportPage& page_;
};

Worksheet sheetWithTitle(const ReportPage& page) {
  xls::CellFormat base;
  base.font = {"仿宋体", 10, false};
  base.vertical = VerticalAlignment::Centre;
  Worksheet sheet("Sheet1", base);
  for (int column = 0; column < 9; ++column) sheet.setColumnWidth(column, 8);
  sheet.setRowHeight(0, 50);
  for (int row = 1; row < 39; ++row) sheet.setRowHeight(row, 18);
  const CellRange title = CellRange::parse("A1:I1");
  sheet.merge(title);
  sheet.setHorizontal(title, HorizontalAlignment::Centre);
  sheet.setFont(title, {"隶书", 20, false});
  sheet.setSolidFill(CellRange::parse("A1"));
  sheet.setText(0, 0, page.text("title"));
  return sheet;
}

// Alignment of the header rows and the table below them, and the names and level that open both sheets.
void sheetHead(SheetWriter& w, const char* headerRows, const char* tableRows) {
  w.horizontal(headerRows, HorizontalAlignment::General);
  w.horizontal(tableRows, HorizontalAlignment::Centre);
  w.vertical(tableRows, VerticalAlignment::Centre);
  w.labelled("A2:E2", "变(配)电所名称：", "station");
  w.labelled("F2:I2", "测点名称：", "point");
  w.labelled("A3:D3", "电  压  等  级：", "level");
}

void voltageSheet(SheetWriter& w, const ReportPage& page) {
  sheetHead(w, "A2:I4", "A5:I38");
  w.merged("A4:F4", "统计 起止 时间：" + page.text("start") + "至" + page.text("end"));
  w.tableHeader(5);
  w.text("A6", "基波");
  w.text("A7", page.text("unit"));
  w.text("B6", "相电压");
  w.values(6, "fundamental", {"max", "min", "avg", "p95"});
  w.text("B7", "线电压");
  w.values(7, "lineFundamental", {"max", "min", "avg", "p95"});
  w.harmonicBlock();
  w.verticalText({"最", "大", "24", "次", "谐", "波", "电", "压", "含", "有", "率", "(%)"});
  w.merged("A32:B32", "总畸变率(%)");
  w.values(32, "thd", {"max", "min", "avg", "p95", "permitted", "pass"});
  w.merged("A33:B33", "电压偏差(%)");
  w.values(33, "deviation", {"max", "min", "avg", "p95", "permitted", "pass"});
  w.merged("A34:B34", "电压波动(%)");
  w.values(34, "fluctuation", {"max", "min", "avg", "p95"});
  w.merged("A35:B35", "频率偏差(HZ)");
  w.values(35, "frequency", {"max", "min", "avg", "p95", "permitted", "pass"});
  w.merged("A36:B36", "不平衡度(%)");
  w.values(36, "unbalance", {"max", "min", "avg", "p95", "permitted", "pass"});
  w.labelled("A38:C38", "测试单位：", "testUnit");
  w.labelled("D38:E38", "测试人员：", "tester");
  w.labelled("F38:I38", "打印日期：", "printDate");
  w.borders("A5:I36");
  w.noInsideHorizontal("A8:A31");
  w.noInsideHorizontal("A6:A7");
}

void currentSheet(SheetWriter& w, const ReportPage& page) {
  sheetHead(w, "A2:I5", "A6:I38");
  w.merged("F3:I3", "最小 短路 容量：" + page.text("minShortCircuit") + "MVA");
  w.merged("A4:D4", "供电 设备 容量：" + page.text("supply") + "MVA");
  w.merged("F4:I4", "用户 协议 容量：" + page.text("agreed") + "MVA");
  w.merged("A5:F5", "统计 起止 时间：" + page.text("start") + "至" + page.text("end"));
  w.tableHeader(6);
  w.merged("A7:B7", "基波电流(A)");
  w.values(7, "fundamental", {"max", "min", "avg", "p95"});
  w.harmonicBlock();
  w.verticalText({"最", "大", "24", "次", "谐", "波", "电", "流", "含", "有", "量", "(A)"});
  w.merged("A32:B32", "总畸变率(%)");
  w.values(32, "thd", {"max", "min", "avg", "p95"});
  w.labelled("A34:C34", "测试单位：", "testUnit");
  w.labelled("D34:E34", "测试人员：", "tester");
  w.labelled("F34:I34", "打印日期：", "printDate");
  w.borders("A6:I32");
  w.noInsideHorizontal("A8:A31");
}

}  // namespace

xls::Worksheet reportSheet(const ReportPage& page, ReportQuantity quantity) {
  Worksheet sheet = sheetWithTitle(page);
  SheetWriter writer(sheet, page);
  if (quantity == ReportQuantity::Voltage) {
    voltageSheet(writer, page);
  } else {
    currentSheet(writer, page);
  }
  return sheet;
}

}  // namespace pq
