#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "archive/ArchiveLocation.h"
#include "archive/PostgresServer.h"
#include "archive/SqlConnection.h"
#include "base/TextCodec.h"
#include "cli/CliRunner.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "support/GeneratedRecords.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::runCli;
using test::TempDir;

std::string fileText(const std::string& path) {
  const auto bytes = test::readBytes(path);
  return {bytes.begin(), bytes.end()};
}

// A station and a point name that would break any statement built by splicing text: quotes, a
// statement end, a comment start and Chinese characters (GBK in the file, at most 10 bytes).
const std::string kStation = "O'B\";--站";
const std::string kPoint = "测点'1";

// The same commands against a SQLite file and a PostgreSQL server.
class ArchiveCommandTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (std::string(GetParam()) == "sqlite") {
      url = "sqlite:" + dir.file("archive.db");
    } else {
      auto& server = test::PostgresServer::shared();
      if (!server.skipReason().empty()) GTEST_SKIP() << server.skipReason();
      url = server.freshDatabase();
    }
  }

  test::CliResult archive(std::vector<std::string> args) {
    args.insert(args.begin(), "archive");
    args.insert(args.end(), {"--archive", url});
    return runCli(args);
  }

  // `records` records a minute apart from 2012-03-`day` 14:02:31.
  std::string generate(const std::string& name, int day, int records, const std::string& station = kStation,
                       const std::string& point = kPoint) {
    GeneratorOptions options = test::generatedFrom(day, 14, 2, 31, records);
    options.startYear = 2012;
    options.startMonth = 3;
    options.substationName = utf8ToGbk(station);
    options.measuringPointName = utf8ToGbk(point);
    return test::generateFile(dir.file(name), options);
  }

  std::unique_ptr<archive::SqlConnection> connect() {
    return archive::openArchive(archive::archiveLocationOf(url)).connection;
  }

  std::int64_t count(const std::string& table) {
    const auto connection = connect();
    const auto rows = connection->run("SELECT count(*) FROM " + table);
    return archive::integerAt(rows.at(0), 0);
  }

  TempDir dir;
  std::string url;
};

TEST_P(ArchiveCommandTest, AddListShowKeepNamesThatLookLikeSqlAsTheyAre) {
  const std::string a = generate("a.bin", 8, 30);
  const std::string addJson = dir.file("add.json");
  const auto added = archive({"add", a, "--json", addJson});
  ASSERT_EQ(added.status, 0) << added.err;
  EXPECT_EQ(added.out, "1\n");
  EXPECT_EQ(added.err, "");
  const std::string summary =
      R"({"id":1,"station":"O'B\";--站","point":"测点'1","first":"2012-03-08 14:02:31",)"
      R"("last":"2012-03-08 14:31:31","records":30,"files":[")" +
      a + R"("]})";
  EXPECT_EQ(fileText(addJson), summary + "\n");

  const std::string listJson = dir.file("list.json");
  const auto listed = archive({"list", "--json", listJson});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out,
            "1\t" + kStation + "\t" + kPoint + "\t2012-03-08 14:02:31\t2012-03-08 14:31:31\t30\t1\n");
  EXPECT_EQ(fileText(listJson), "[" + summary + "]\n");

  // The filters match the names exactly, never as patterns.
  struct Filter {
    std::vector<std::string> options;
    bool listed;
  };
  const Filter filters[] = {
      {{"--station", kStation}, true},
      {{"--station", "O'B"}, false},
      {{"--station", "%"}, false},
      {{"--station", kStation, "--point", kPoint}, true},
      {{"--point", "测点"}, false},
      {{"--from", "2012-03-08 14:31:31"}, true},
      {{"--from", "2012-03-08 14:31:32"}, false},
      {{"--to", "2012-03-08 14:02:31"}, true},
      {{"--to", "2012-03-08 14:02:30"}, false},
  };
  for (const Filter& filter : filters) {
    std::vector<std::string> args = {"list"};
    args.insert(args.end(), filter.options.begin(), filter.options.end());
    const auto result = archive(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.empty(), !filter.listed) << filter.options.back();
  }

  // show gives what `survey --json` gives for the same file, with the survey's ID first.
  const std::string surveyJson = dir.file("survey.json");
  ASSERT_EQ(runCli({"survey", a, "--json", surveyJson}).status, 0);
  const std::string showJson = dir.file("show.json");
  const auto shown = archive({"show", "1", "--json", showJson});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(fileText(showJson), R"({"id":1,)" + fileText(surveyJson).substr(1));
  EXPECT_EQ(archive({"show", "1"}).out, fileText(showJson));
}

TEST_P(ArchiveCommandTest, AFileArchivedAlreadyIsRecognisedByItsContent) {
  const std::string a = generate("a.bin", 8, 12);
  ASSERT_EQ(archive({"add", a}).out, "1\n");

  // The same bytes under another name and folder.
  std::filesystem::create_directory(dir.file("copies"));
  const std::string copy = dir.file("copies/renamed.bin");
  std::filesystem::copy_file(a, copy);
  const auto again = archive({"add", copy});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "1\n");
  EXPECT_EQ(again.err, copy + "：已在测量档案中（测量 1），未再次加入。\n");

  // With a new file beside it, only the new one makes a survey.
  const std::string b = generate("copies/b.bin", 9, 5);
  const auto mixed = archive({"add", dir.file("copies")});
  EXPECT_EQ(mixed.status, 0);
  EXPECT_EQ(mixed.out, "2\n");
  EXPECT_EQ(mixed.err, copy + "：已在测量档案中（测量 1），未再次加入。\n");
  const auto listed = archive({"list"});
  EXPECT_EQ(listed.out, "2\t" + kStation + "\t" + kPoint +
                            "\t2012-03-09 14:02:31\t2012-03-09 14:06:31\t5\t1\n" + "1\t" + kStation + "\t" +
                            kPoint + "\t2012-03-08 14:02:31\t2012-03-08 14:13:31\t12\t1\n");
  EXPECT_EQ(count("files"), 2);
}

TEST_P(ArchiveCommandTest, RemoveTakesWhatOnlyItsSurveyUsed) {
  generate("a.bin", 8, 6, "S1", "P1");
  generate("b.bin", 9, 6, "S1", "P1");
  generate("c.bin", 10, 6, "S2", "P1");
  for (const char* name : {"a.bin", "b.bin", "c.bin"}) ASSERT_EQ(archive({"add", dir.file(name)}).status, 0);
  ASSERT_EQ(count("stations"), 2);
  ASSERT_EQ(count("points"), 2);

  struct Step {
    const char* id;
    std::int64_t stations, points, surveys, files;
  };
  // Survey 1 shares its point with survey 2; survey 3 has a station of its own.
  const Step steps[] = {{"1", 2, 2, 2, 2}, {"3", 1, 1, 1, 1}, {"2", 0, 0, 0, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.id);
    const auto removed = archive({"remove", step.id});
    ASSERT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(removed.out, "");
    EXPECT_EQ(count("stations"), step.stations);
    EXPECT_EQ(count("points"), step.points);
    EXPECT_EQ(count("surveys"), step.surveys);
    EXPECT_EQ(count("files"), step.files);
  }
  EXPECT_EQ(count("survey_values"), 0);
  EXPECT_EQ(count("gaps"), 0);
  EXPECT_EQ(count("survey_notes"), 0);

  const auto again = archive({"remove", "2"});
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err, "测量档案中没有测量 2。\n");
  // A removed file can be archived anew, under a new ID.
  EXPECT_EQ(archive({"add", dir.file("a.bin")}).out, "4\n");
}

// Two minutes at 5800 V on every phase with, in % of the declared 5773.50 V:
//  - 10:00:30-32 phase B's minimum at 4100 V (71.014 %): a dip of 3 s;
//  - 10:01:10-11 the maxima of A and C at 6600 V (114.315 %): a swell of 2 s.
void writeEventFile(const std::string& path, const std::string& station) {
  RecordStore store;
  store.fileName = path;
  store.substationName = station;
  store.measuringPointName = "L7";
  store.voltageLevelCode = 3;
  store.ptRatio = 1;
  for (int s = 0; s < 120; ++s) {
    MeasurementRecord& r = test::appendRecord(store, 10, 4, 20, 10, s / 60, s % 60);
    for (int phase = 0; phase < 3; ++phase) {
      const bool dip = phase == 1 && s >= 30 && s <= 32;
      const bool swell = phase != 1 && (s == 70 || s == 71);
      r.setValue(cells::uaRms + 3 * phase, 5800.0f);
      r.setValue(cells::uaMax + 3 * phase, swell ? 6600.0f : 5820.0f);
      r.setValue(cells::uaMin + 3 * phase, dip ? 4100.0f : 5780.0f);
    }
    r.setValue(cells::frequency, 49.97f);
  }
  ASSERT_TRUE(rewriteRecordFile(store));
}

TEST_P(ArchiveCommandTest, EventsOfEverySurveyWithTheirStationAndPoint) {
  // The same events at another station: a file of other bytes, a survey of its own.
  writeEventFile(dir.file("e1.bin"), "East");
  std::filesystem::create_directory(dir.file("other"));
  writeEventFile(dir.file("other/e2.bin"), "West");
  ASSERT_EQ(archive({"add", dir.file("e1.bin")}).out, "1\n");
  ASSERT_EQ(archive({"add", dir.file("other/e2.bin")}).out, "2\n");

  const std::string heading = "survey,station,point,kind,start,durationSeconds,phases,residual\n";
  const std::string e1 =
      "1,East,L7,dip,2010-04-20 10:00:30,3,B,71.014084\n1,East,L7,swell,2010-04-20 10:01:10,2,A "
      "C,114.31535\n";
  const std::string dips =
      "1,East,L7,dip,2010-04-20 10:00:30,3,B,71.014084\n"
      "2,West,L7,dip,2010-04-20 10:00:30,3,B,71.014084\n";
  struct Case {
    std::vector<std::string> options;
    std::string rows;
  };
  const Case cases[] = {
      {{},
       "1,East,L7,dip,2010-04-20 10:00:30,3,B,71.014084\n2,West,L7,dip,2010-04-20 10:00:30,3,B,71.014084\n"
       "1,East,L7,swell,2010-04-20 10:01:10,2,A C,114.31535\n2,West,L7,swell,2010-04-20 10:01:10,2,A "
       "C,114.31535\n"},
      {{"--station", "East"}, e1},
      {{"--kind", "dip"}, dips},
      {{"--from", "2010-04-20 10:00:31"},
       "1,East,L7,swell,2010-04-20 10:01:10,2,A C,114.31535\n"
       "2,West,L7,swell,2010-04-20 10:01:10,2,A C,114.31535\n"},
      {{"--to", "2010-04-20 10:00:30", "--point", "L7"}, dips},
      {{"--kind", "interruption"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"events"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto result = archive(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, heading + c.rows) << (c.options.empty() ? "" : c.options.front());
  }
  const std::string csv = dir.file("events.csv");
  ASSERT_EQ(archive({"events", "--station", "East", "--csv", csv}).status, 0);
  EXPECT_EQ(fileText(csv), "\xEF\xBB\xBF" + heading + e1);
}

// Two programs adding at once: both land, the archive's write lock or the server orders them.
TEST_P(ArchiveCommandTest, TwoAddsAtOnceBothLand) {
  const std::string a = generate("a.bin", 8, 90);
  const std::string b = generate("b.bin", 9, 90);
  std::string command;
  for (const auto& [file, out] : {std::pair{a, "a"}, std::pair{b, "b"}, std::pair{a, "a2"}}) {
    const std::string to = dir.file(out);
    command += "('" PQDESK_CLI "' archive add '" + file + "' --archive '" + url + "' >'" + to + ".out' 2>'" +
               to + ".err'; echo $? >'" + to + ".rc') & ";
  }
  ASSERT_EQ(std::system((command + "wait").c_str()), 0);
  for (const char* out : {"a", "b", "a2"})
    EXPECT_EQ(fileText(dir.file(out) + ".rc"), "0\n") << fileText(dir.file(out) + ".err");
  const std::string idA = fileText(dir.file("a.out"));
  const std::string idB = fileText(dir.file("b.out"));
  EXPECT_NE(idA, idB);
  for (const std::string& id : {idA, idB}) EXPECT_TRUE(id == "1\n" || id == "2\n" || id == "3\n") << id;
  // The same file added twice at once ends in one survey, whichever program came second.
  EXPECT_EQ(fileText(dir.file("a2.out")), idA);
  EXPECT_EQ(count("surveys"), 2);
  EXPECT_EQ(count("files"), 2);
}

TEST_P(ArchiveCommandTest, BadArgumentsAreUsageErrors) {
  const std::string a = generate("a.bin", 8, 3);
  ASSERT_EQ(archive({"add", a}).status, 0);
  struct Case {
    std::vector<std::string> args;
    std::string errStart;
  };
  const Case cases[] = {
      {{"show", "x"}, "survey ID must be a positive whole number: x\n"},
      {{"show", "0"}, "survey ID must be a positive whole number: 0\n"},
      {{"show", "9"}, "测量档案中没有测量 9。\n"},
      {{"remove", "9"}, "测量档案中没有测量 9。\n"},
      {{"rename", "1"}, "unknown subcommand rename\n"},
      {{"list", "--kind", "dip"}, "archive list takes no option --kind\n"},
      {{"events", "--kind", "flicker"},
       "--kind must be dip, swell, interruption, undervoltage, overvoltage or "
       "longInterruption\n"},
      {{"list", "--from", "2012-03-08"}, "--from must be a date-time \"YYYY-MM-DD HH:MM:SS\"\n"},
      {{"add"}, "missing record file\n"},
  };
  for (const Case& c : cases) {
    const auto result = archive(c.args);
    EXPECT_EQ(result.status, 2) << c.args.front();
    EXPECT_EQ(result.err.substr(0, c.errStart.size()), c.errStart);
  }
  // A file that gives no survey is refused input.
  const auto none = archive({"add", dir.file("none.bin")});
  EXPECT_EQ(none.status, 3);
  EXPECT_EQ(none.err, dir.file("none.bin") +
                          "：文件不存在或无法打开，未计入测量。\n没有可用的记录文件，测量未打开。\n");
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveCommandTest, ::testing::Values("sqlite", "postgresql"));

}  // namespace
}  // namespace pq
