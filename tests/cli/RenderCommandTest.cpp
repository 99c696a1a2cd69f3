#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/CliRunner.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::pdfText;
using test::runCli;
using test::slurp;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A report file and the PDF and PNG that `report` writes for the same page.
class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(runCli({"generate", dir.file("r.bin"), "--records", "300", "--station", "城东"}).status, 0);
    const auto made =
        runCli({"report", dir.file("r.bin"), "--phase", "Ib", "--print-date", "2026-12-10 08:00", "--qrp",
                qrp, "--pdf", out.file("direct.pdf"), "--png", out.file("direct.png")});
    ASSERT_EQ(made.status, 0) << made.err;
  }
  test::TempDir dir;
  test::TempDir out;
  std::string qrp = dir.file("r.QRP");
};

TEST_F(RenderCommandTest, WritesWhatTheReportCommandWroteForThePage) {
  const auto result = runCli({"render", qrp, "--pdf", out.file("r.pdf"), "--png", out.file("r.png")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string text = pdfText(out.file("r.pdf"));
  EXPECT_THAT(text, HasSubstr("电能质量统计报表（B相电流）"));
  EXPECT_THAT(text, HasSubstr("城东变电所"));
  EXPECT_EQ(text, pdfText(out.file("direct.pdf")));
  EXPECT_EQ(slurp(out.file("r.png")), slurp(out.file("direct.png")));
}

TEST_F(RenderCommandTest, RefusesDamagedFilesAndMissingPagesWithoutLeavingOutput) {
  const std::string bytes = slurp(qrp);
  const struct {
    const char* name;
    std::string content;
  } damaged[] = {{"cut.QRP", bytes.substr(0, bytes.size() / 2)},
                 {"empty.QRP", ""},
                 {"text.QRP", "not a report file at all"}};
  for (const auto& file : damaged) {
    std::ofstream(dir.file(file.name), std::ios::binary) << file.content;
    const auto result =
        runCli({"render", dir.file(file.name), "--pdf", dir.file("x.pdf"), "--png", dir.file("x.png")});
    EXPECT_EQ(result.status, 3) << file.name;
    EXPECT_NE(result.err, "") << file.name;
  }
  const auto missing = runCli({"render", dir.file("none.QRP"), "--pdf", dir.file("x.pdf")});
  EXPECT_EQ(missing.status, 3);
  EXPECT_THAT(missing.err, HasSubstr("none.QRP"));

  const auto beyond =
      runCli({"render", qrp, "--pdf", dir.file("x.pdf"), "--png", dir.file("x.png"), "--page", "2"});
  EXPECT_EQ(beyond.status, 3);
  EXPECT_FALSE(std::ifstream(dir.file("x.pdf")).good());
  EXPECT_FALSE(std::ifstream(dir.file("x.png")).good());
}

TEST_F(RenderCommandTest, UsageErrors) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"render", qrp},
                                               {"render"},
                                               {"render", qrp, "--png", "x.png", "--page", "0"},
                                               {"render", qrp, "--svg", "x.svg"}}) {
    const auto result = runCli(args);
    EXPECT_EQ(result.status, 2) << args.size();
    EXPECT_THAT(result.err, HasSubstr("usage: pqdesk-cli render FILE.QRP"));
  }
}

}  // namespace
}  // namespace pq
