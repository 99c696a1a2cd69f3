#include "assessment/AssessmentPages.h"

#include <cmath>

#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentTexts.h"
#include "base/PictureFormat.h"
#include "base/TextCodec.h"
#include "pages/PageFlow.h"
#include "records/RecordHead.h"
#include "statistics/HarmonicLimitTables.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

void head(PageFlow& flow, const AssessmentResult& result, const AssessmentHeading& heading) {
  flow.headerLine("变（配）电所名称：" + heading.station);
  flow.headerLine("测点名称：" + heading.point);
  flow.headerLine("电压等级：" + heading.level);
  if (result.span.records > 0)
    flow.headerLine("评估时段：" + epochTimeText(result.span.first) + " — " + epochTimeText(result.span.last));
  flow.headerLine("限值：" + result.setup.limitSetName);
  // How many records took part, the gaps and the records left out.
  if (!result.spanMethod.empty()) flow.paragraph(result.spanMethod);
  for (const RecordGap& gap : result.span.gaps) flow.headerLine(gapText(gap));
  flow.space(6);
}

}  // namespace

AssessmentHeading assessmentHeadingOf(const RecordHead& head) {
  AssessmentHeading heading;
  heading.station = gbkToUtf8(head.substationName);
  heading.point = gbkToUtf8(head.measuringPointName);
  heading.level = std::string(voltageLevelTextOfCode(head.voltageLevelCode));
  return heading;
}

std::string pageNumber(double value, int decimals) {
  if (!std::isfinite(value)) return "—";
  // Rounded as the phase reports round, halves away from zero; no "-0.00" for a value that rounds to
  // zero.
  std::string text = formatPicture(value, decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0");
  if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
  return text;
}

std::vector<ReportPage> assessmentPages(const AssessmentResult& result, const AssessmentHeading& heading) {
  PageFlow flow("电能质量综合评估报告");
  head(flow, result, heading);
  if (!result.refusal.empty()) {
    flow.paragraph("未能评估：" + result.refusal);
    return flow.finish();
  }
  for (const AssessmentIndexSection* section : assessmentIndexSections()) section->addPageSection(flow, result);
  return flow.finish();
}

std::vector<ReportPage> eventListPages(const AssessmentResult& result, const AssessmentHeading& heading) {
  PageFlow flow("电压事件列表");
  head(flow, result, heading);
  if (!result.refusal.empty()) {
    flow.paragraph("未能评估：" + result.refusal);
    return flow.finish();
  }
  addEventListBody(flow, result);
  return flow.finish();
}

}  // namespace pq
