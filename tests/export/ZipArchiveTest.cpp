// The archive as an independent reader (Python's zipfile) sees it: every entry's name, size and
// content, and its CRC checked by testzip().
#include "export/ZipArchive.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

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

// Entries whose sizes fall on the edges of the compressor's chunks, text and bytes no deflate can
// shrink, each compared byte for byte with what went in (written beside the archive for Python).
TEST(ZipArchiveTest, EntriesOnChunkEdgesReadBackWhole) {
  test::TempDir dir;
  const std::string path = dir.file("edges.zip");
  constexpr std::size_t kOneChunk = ParallelDeflate::kChunkSize;
  std::string text;
  for (int n = 0; text.size() < 2 * kOneChunk + 1; ++n) {
    text += "<c><v>" + std::to_string(n * 37 % 10007 * 0.013) + "</v></c>";
  }
  std::string noise(2 * kOneChunk + 3, '\0');
  std::uint32_t state = 2463534242u;
  for (char& byte : noise) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state);
  }
  const std::pair<std::string, std::string> entries[] = {
      {"empty", ""},
      {"one byte", text.substr(0, 1)},
      {"a byte short of a chunk", text.substr(0, kOneChunk - 1)},
      {"one chunk", text.substr(0, kOneChunk)},
      {"a chunk and a byte", text.substr(0, kOneChunk + 1)},
      {"two chunks and a byte", text.substr(0, 2 * kOneChunk + 1)},
      {"noise", noise},
  };
  AtomicFile file(path);
  ASSERT_TRUE(file.open());
  ZipArchive archive(file);
  for (const auto& [name, content] : entries) {
    ASSERT_TRUE(archive.beginEntry(name));
    ASSERT_TRUE(archive.write(content));
    ASSERT_TRUE(archive.endEntry());
    std::ofstream(dir.file(name + ".expected"), std::ios::binary) << content;
  }
  ASSERT_TRUE(archive.finish());
  ASSERT_TRUE(file.commit()) << file.error();

  std::string expected;
  for (const auto& [name, content] : entries) {
    expected += name + " " + std::to_string(content.size()) + " same\n";
  }
  EXPECT_EQ(test::commandOutput("/usr/bin/python3 -c 'import sys, zipfile\n"
                                "z = zipfile.ZipFile(sys.argv[1])\n"
                                "for i in z.infolist():\n"
                                "  data = z.read(i)\n"
                                "  same = data == open(sys.argv[2] + \"/\" + i.filename + \".expected\", \"rb\").read()\n"
                                "  print(i.filename, len(data), \"same\" if same else \"differs\")\n"
                                "print(z.testzip())' '" + path + "' '" + dir.file("") + "' 2>&1"),
            expected + "None\n");
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
