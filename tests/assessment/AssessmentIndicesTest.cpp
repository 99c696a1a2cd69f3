#include "assessment/AssessmentIndices.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <string>

#include "assessment/AssessmentTables.h"
#include "export/JsonWriter.h"
#include "pages/PageFlow.h"

namespace pq {
namespace {

std::size_t textsOf(const ReportDocument& document) {
  std::size_t texts = 0;
  for (const ReportPage& page : PageFlow::layOut(document)) texts += page.texts().size();
  return texts;
}

// What a new entry must get right besides its own figures: a part left out or adding nothing drops the
// index from one output; a JSON part that leaves a scope open or a value without its key spoils the
// whole object; a sheet name or a member taken twice makes a workbook Excel refuses or a JSON object
// whose readers see one of the two.
TEST(AssessmentIndices, EverySectionAddsItsOwnPartToThePagesTheSheetsAndTheJson) {
  AssessmentResult result;
  result.energy.largestDemandKw = 12.5;
  std::set<std::string> sheetNames{"概况"};
  // The members the command line writes before the sections.
  std::set<std::string> members{"limitSet", "span", "skipped", "spanMethod"};
  int index = 0;
  for (const AssessmentIndexSection* section : assessmentIndexSections()) {
    SCOPED_TRACE("section " + std::to_string(index++));
    ASSERT_TRUE(section->addPageSection && section->addSheets && section->addJsonMembers);

    const ReportDocument empty("评估");
    ReportDocument document("评估");
    section->addPageSection(document, result);
    EXPECT_GT(textsOf(document), textsOf(empty));

    std::vector<AssessmentTable> sheets;
    section->addSheets(result, sheets);
    EXPECT_FALSE(sheets.empty());
    for (const AssessmentTable& sheet : sheets) {
      EXPECT_TRUE(sheetNames.insert(sheet.sheet).second) << sheet.sheet;
      EXPECT_FALSE(sheet.heading.empty()) << sheet.sheet;
    }

    JsonWriter writer;
    writer.beginObject();
    section->addJsonMembers(result, writer);
    writer.endObject();
    const auto object = nlohmann::json::parse(writer.text(), nullptr, false);
    ASSERT_TRUE(object.is_object()) << writer.text();
    EXPECT_FALSE(object.empty());
    for (const auto& member : object.items()) EXPECT_TRUE(members.insert(member.key()).second) << member.key();
  }
}

}  // namespace
}  // namespace pq
