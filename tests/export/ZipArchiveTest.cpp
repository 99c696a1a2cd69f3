// The archive as an independent reader (Python's zipfile) sees it: every entry's name, size and
// content, and its CRC checked by testzip().
#include "export/ZipArchive.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "support/FileText.h"
#include "support/TempDir.h"

namespace pq {
namespace {

// One line per entry, "NAME SIZE CRC-OF-CONTENT-READ", then testzip()'s verdict (None when every CRC
// holds); Debian's own interpreter.
std::string zipfileView(const std::string& path) {
  return test::commandOutput(
      "/usr/bin/python3 -c 'import sys, zipfile, zlib\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "for i in z.infolist(): print(i.filename, i.file_size, \"%08x\" % zlib.crc32(z.read(i)))\n"
      "print(z.testzip())' '" + path + "' 2>&1");
}

std::string crcText(const std::string& text) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08lx", crc32(0, reinterpret_cast<const Bytef*>(text.data()),
                                                      static_cast<uInt>(text.size())));
  return buffer;
}

TEST(ZipArchiveTest, ZipfileReadsEveryEntry) {
  test::TempDir dir;
  const std::string path = dir.file("parts.zip");
  // Several chunks, so that the workers compress them; lines that differ, so that no chunk is alike.
  std::string large;
  for (int n = 0; large.size() < 3 * ParallelDeflate::kChunkSize + 777; ++n) {
    large += "<row r=\"" + std::to_string(n) + "\"><c><v>" + std::to_string(n * 0.731) + "</v></c></row>";
  }
  AtomicFile file(path);
  ASSERT_TRUE(file.open());
  ZipArchive archive(file);
  ASSERT_TRUE(archive.beginEntry("empty"));
  ASSERT_TRUE(archive.endEntry());
  ASSERT_TRUE(archive.beginEntry("dir/held back.xml", 9));
  ASSERT_TRUE(archive.write(" and the rest"));
  ASSERT_TRUE(archive.endEntry("told last"));
  ASSERT_TRUE(archive.beginEntry("large.xml"));
  ASSERT_TRUE(archive.write(large));
  ASSERT_TRUE(archive.endEntry());
  ASSERT_TRUE(archive.finish());
  ASSERT_TRUE(file.commit()) << file.error();

  EXPECT_EQ(zipfileView(path), "empty 0 00000000\n"
                               "dir/held back.xml 22 " + crcText("told last and the rest") + "\n"
                               "large.xml " + std::to_string(large.size()) + " " + crcText(large) + "\n"
                               "None\n");
}

// 65 535 entries and more do not fit the 16-bit counts of the directory's end: the ZIP64 end record
// and its locator hold the count. (The other ZIP64 fields need 4 GiB of data, too much for a test.)
TEST(ZipArchiveTest, ManyEntriesTakeTheZip64End) {
  test::TempDir dir;
  const std::string path = dir.file("many.zip");
  AtomicFile file(path);
  ASSERT_TRUE(file.open());
  ZipArchive archive(file);
  constexpr int kEntries = 65536;
  for (int i = 0; i < kEntries; ++i) {
    ASSERT_TRUE(archive.beginEntry("e" + std::to_string(i)));
    ASSERT_TRUE(archive.write(std::to_string(i * 7)));
    ASSERT_TRUE(archive.endEntry());
  }
  ASSERT_TRUE(archive.finish());
  ASSERT_TRUE(file.commit()) << file.error();
  EXPECT_EQ(test::commandOutput("/usr/bin/python3 -c 'import sys, zipfile\n"
                                "z = zipfile.ZipFile(sys.argv[1])\n"
                                "print(len(z.infolist()), z.read(\"e65535\"), z.testzip())' '" +
                                path + "' 2>&1"),
            "65536 b'458745' None\n");
}

}  // namespace
}  // namespace pq
