#include "report/ReportPageLayout.h"

#include <cstdio>

namespace pq {

namespace {

constexpr const char* kStatistics[] = {"max", "min", "avg", "p95"};

// x of the texts of the columns maximum, minimum, average, 95 %, permitted and pass rate.
struct ColumnTexts {
  int x[6];
};

void statisticCells(ReportPage& page, const std::string& row, const ColumnTexts& columns, int y,
                    bool permitted, bool pass) {
  for (int i = 0; i < 4; ++i) page.addCell(cellKey(row, kStatistics[i]), columns.x[i], y);
  if (permitted) page.addCell(cellKey(row, "permitted"), columns.x[4], y);
  if (pass) page.addCell(cellKey(row, "pass"), columns.x[5], y);
}

std::string twoDigits(int order) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", order);
  return text;
}

void header(ReportPage& page, int y, const int (&x)[8], const char* passTitle) {
  const char* titles[] = {"参    数", "最大值", "最小值", "平均值", "概率值", "允许值", passTitle, "备注"};
  for (int i = 0; i < 8; ++i) page.addText(x[i], y, titles[i]);
}

void groupColumn(ReportPage& page, int x, int firstY, const char* const (&texts)[11], int lastX,
                 const char* last) {
  for (int i = 0; i < 11; ++i) page.addText(x, firstY + 24 * i, texts[i]);
  page.addText(lastX, firstY + 24 * 11, last);
}

}  // namespace

std::string harmonicRow(int order) { return "harmonic." + std::to_string(order); }

ReportPage voltagePageForm() {
  ReportPage page;
  page.addCell("title", 254, 46, {"Arial", 14, true});

  page.addText(56, 88, "变（配）电所名称：");
  page.addCell("station", 208, 88);
  page.addText(408, 88, "测   点   名   称：");
  page.addCell("point", 536, 88);
  page.addText(56, 115, "电     压      等     级：");
  page.addCell("level", 208, 115);
  page.addText(56, 140, "统  计  起 止  时 间：");
  page.addCell("start", 208, 140);
  page.addLine(368, 148, 393, 148);
  page.addCell("end", 408, 140);

  page.addLine(56, 170, 56, 995);
  page.addLine(744, 170, 744, 995);
  page.addLine(56, 170, 745, 170);
  page.addLine(56, 994, 745, 994);
  for (int x : {184, 272, 352, 432, 512, 587, 670}) page.addLine(x, 170, x, 995);
  page.addLine(112, 204, 112, 844);
  for (int y : {204, 244, 844, 874, 904, 934, 964}) page.addLine(56, y, 745, y);
  page.addLine(112, 224, 745, 224);
  for (int y = 269; y <= 819; y += 25) page.addLine(112, y, 745, y);

  header(page, 184, {96, 200, 296, 376, 448, 520, 600, 680}, "合格率");
  const ColumnTexts columns{{192, 280, 360, 440, 520, 592}};

  page.addText(64, 208, "基波");
  page.addCell("unit", 72, 224);
  page.addText(128, 206, "相电压", {"Arial", 9, false});
  statisticCells(page, "fundamental", columns, 206, false, false);
  page.addText(128, 228, "线电压", {"Arial", 9, false});
  statisticCells(page, "lineFundamental", columns, 227, false, false);

  for (int order = 2; order <= 25; ++order) {
    const int y = 250 + 25 * (order - 2);
    page.addText(136, y, twoDigits(order));
    statisticCells(page, harmonicRow(order), columns, y, true, true);
  }
  groupColumn(page, 72, 264, {"最", "大", "20", "次", "谐", "波", "电", "压", "含", "有", "率"}, 60, "（%）");

  page.addText(72, 854, "总畸变率（%）");
  statisticCells(page, "thd", columns, 856, true, true);
  page.addText(72, 884, "电压偏差（%）");
  statisticCells(page, "deviation", columns, 880, false, true);
  page.addCell("deviation.permitted", 517, 880);
  page.addText(72, 914, "电压波动（%）");
  statisticCells(page, "fluctuation", columns, 912, false, false);
  page.addText(72, 944, "频率偏差(Hz)");
  statisticCells(page, "frequency", columns, 944, false, true);
  page.addText(520, 944, "±0.2Hz", {}, "frequency.permitted");
  page.addText(72, 974, "不平衡度（%）");
  statisticCells(page, "unbalance", columns, 976, false, true);
  page.addText(520, 976, "2.00%", {}, "unbalance.permitted");

  page.addText(56, 1008, "测试单位：");
  page.addCell("testUnit", 128, 1008);
  page.addText(312, 1008, "测试人员：");
  page.addCell("tester", 392, 1008);
  page.addText(496, 1008, "打印日期：");
  page.addCell("printDate", 568, 1008);
  return page;
}

ReportPage currentPageForm() {
  ReportPage page;
  page.addCell("title", 254, 54, {"Arial", 12, true});

  page.addText(48, 96, "变（配）电所名称：");
  page.addCell("station", 208, 96);
  page.addText(400, 96, "测  点   名   称：");
  page.addCell("point", 536, 96);
  page.addText(48, 124, "电     压      等     级：");
  page.addCell("level", 208, 124);
  page.addText(400, 124, "最小短路容量：");
  page.addCell("minShortCircuit", 536, 124);
  page.addText(600, 124, "MVA");
  page.addText(48, 152, "供  电  设 备  容 量：");
  page.addCell("supply", 208, 152);
  page.addText(272, 152, "MVA");
  page.addText(400, 152, "用户协议容量：");
  page.addCell("agreed", 536, 152);
  page.addText(600, 152, "MVA");
  page.addText(48, 180, "统  计  起 止  时 间：");
  page.addCell("start", 208, 180);
  page.addLine(368, 190, 393, 190);
  page.addCell("end", 408, 180);

  page.addLine(48, 210, 48, 1035);
  page.addLine(736, 210, 736, 1035);
  page.addLine(48, 210, 737, 210);
  page.addLine(48, 1034, 737, 1034);
  for (int x : {176, 264, 344, 424, 504, 578, 656}) page.addLine(x, 210, x, 1035);
  page.addLine(104, 284, 104, 1004);
  for (int y : {244, 284, 1004}) page.addLine(48, y, 737, y);
  for (int y = 314; y <= 974; y += 30) page.addLine(104, y, 737, y);

  header(page, 224, {88, 192, 288, 368, 440, 512, 584, 672}, "合格率(%)");
  const ColumnTexts columns{{184, 272, 352, 432, 512, 584}};

  page.addText(64, 256, "基波电流(A)");
  statisticCells(page, "fundamental", columns, 264, false, false);

  // The design places the values of each harmonic row by hand, 6 to 12 px below its top line.
  constexpr int kValueY[] = {293, 320, 352, 384, 416, 440, 472, 504, 536, 560, 592, 624,
                             656, 680, 712, 744, 776, 800, 832, 864, 896, 920, 952, 984};
  for (int order = 2; order <= 25; ++order) {
    page.addText(128, 294 + 30 * (order - 2), twoDigits(order));
    statisticCells(page, harmonicRow(order), columns, kValueY[order - 2], true, true);
  }
  groupColumn(page, 64, 304, {"最", "大", "24", "次", "谐", "波", "电", "流", "含", "有", "量"}, 52, "（A）");

  page.addText(56, 1014, "总畸变率（%）");
  statisticCells(page, "thd", columns, 1016, false, false);

  page.addText(72, 1048, "测试单位：");
  page.addCell("testUnit", 144, 1048);
  page.addText(344, 1048, "测试人员：");
  page.addCell("tester", 424, 1048);
  page.addText(512, 1048, "打印日期：");
  page.addCell("printDate", 584, 1048);
  return page;
}

}  // namespace pq
