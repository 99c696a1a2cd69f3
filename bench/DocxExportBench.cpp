// A week-long survey's report as a Word document: five index sections, each a heading, a paragraph,
// a table of 60 rows of 8 columns and two pictures of 100 KB (incompressible, as a PNG is), 300
// table rows and 1 MB of pictures in all. The target is under 2 s on the project's two-core machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "export/DocxWriter.h"

namespace {

constexpr int kSections = 5;
constexpr int kRowsPerTable = 60;
constexpr int kPictureBytes = 100 * 1024;

std::string noisePicture(unsigned seed) {
  std::string bytes(kPictureBytes, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

pq::DocxDocument weekReport() {
  pq::DocxDocument document;
  document.title = "电能质量测试报告";
  document.blocks.push_back(pq::DocxHeading{1, "电能质量测试报告"});
  document.blocks.push_back(
      pq::DocxParagraph{"变（配）电所名称：城南110kV变电站\n测试时间：2026-12-01 至 2026-12-07", false});
  for (int s = 0; s < kSections; ++s) {
    document.blocks.push_back(pq::DocxHeading{2, std::to_string(s + 1) + " 电压偏差"});
    document.blocks.push_back(pq::DocxParagraph{"统计值按GB/T 12325计算，限值为±7%。", false});
    pq::DocxTable table{{{"时间", 130},
                         {"相别", 50},
                         {"最大值", 70},
                         {"平均值", 70},
                         {"最小值", 70},
                         {"95%概率值", 80},
                         {"限值", 60},
                         {"结论", 50}},
                        {}};
    for (int r = 0; r < kRowsPerTable; ++r) {
      const std::string value = std::to_string(220 + r % 13) + "." + std::to_string(r % 10);
      table.rows.push_back({"2026-12-0" + std::to_string(1 + r / 10 % 7) + " 10:00",
                            std::string(1, static_cast<char>('A' + r % 3)), value, value, value, value, "±7%",
                            "合格"});
    }
    document.blocks.push_back(std::move(table));
    for (int p = 0; p < 2; ++p) {
      document.blocks.push_back(
          pq::DocxPicture{noisePicture(static_cast<unsigned>(s * 2 + p)), 640, 320, "趋势"});
    }
  }
  return document;
}

void BM_DocxWeekReport(benchmark::State& state) {
  const char* folder = std::getenv("TMPDIR");
  const std::string path = std::string(folder != nullptr ? folder : "/tmp") + "/pqdesk-bench-week.docx";
  const pq::DocxDocument document = weekReport();
  for (auto _ : state) pq::writeDocx(document, path);
  std::remove(path.c_str());
}
BENCHMARK(BM_DocxWeekReport)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
