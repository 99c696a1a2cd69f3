#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "records/RecordFileGenerator.h"
#include "records/RecordFileImport.h"
#include "records/RecordFileWriter.h"
#include "support/RecordFileBytes.h"
#include "support/RecordingListener.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::readBytes;
using test::RecordFileBytes;
using test::RecordingListener;
using test::TempDir;

class RecordFileRewriteTest : public ::testing::Test {
 protected:
  void importFile(const std::string& file) {
    RecordingListener listener;
    ASSERT_EQ(importRecordFile(store, file, listener), ImportResult::Completed);
  }
  void generate(const std::string& file, GeneratorOptions options) {
    std::string error;
    ASSERT_TRUE(generateRecordFile(file, options, error)) << error;
  }

  TempDir dir;
  std::string path = dir.file("record.bin");
  RecordStore store;
};

TEST_F(RecordFileRewriteTest, WritesHeadFillerZerosAndValidChecksums) {
  auto body = RecordFileBytes::body(57.7f);
  for (int i = 11; i < 26; ++i) body[i] = 0x5A;  // not read; the rewrite writes zeros
  body[1846] = RecordFileBytes::checksum(body);
  RecordFileBytes bytes;
  bytes.head("AB", "CD", 4, 100.0f, 20.0f).bytes({1, 2, 3}).rawFrame(body).frame(1.0f, true).frame(2.0f);
  bytes.save(path);
  importFile(path);
  store.record(0).setValue(60, 3.5f);  // a reserved cell the store holds is written back as held
  ASSERT_TRUE(rewriteRecordFile(store));

  const auto out = readBytes(path);
  ASSERT_EQ(out.size(), 64u + 2 * 1853u) << "garbage and broken frames are gone";
  for (int i : {0, 1, 2, 3, 4, 5, 50, 55, 63}) EXPECT_EQ(out[i], 0xAA) << i;
  EXPECT_EQ(std::string(out.begin() + 6, out.begin() + 16), std::string("AB\0\0\0\0\0\0\0\0", 10));
  for (int i : {26, 27, 28, 29}) EXPECT_EQ(out[i], 4) << i;
  for (std::size_t frame = 0; frame < 2; ++frame) {
    const std::size_t start = 64 + frame * 1853;
    const std::vector<std::uint8_t> frameBody(out.begin() + start + 6, out.begin() + start + 1853);
    EXPECT_EQ(out[start], 0xEB);
    EXPECT_EQ(frameBody[1846], RecordFileBytes::checksum(frameBody));
    for (int i = 11; i < 26; ++i) EXPECT_EQ(frameBody[i], 0) << i;
  }
  importFile(path);
  ASSERT_EQ(store.recordCount(), 2);
  EXPECT_NEAR(store.value(0, cells::uaRms), 5.77f, 1e-6);
  EXPECT_FLOAT_EQ(store.value(1, cells::uaRms), 0.2f);
}

TEST_F(RecordFileRewriteTest, ScaledValuesGoBackToSecondaryValues) {
  GeneratorOptions options;
  options.records = 50;
  generate(path, options);
  const auto original = readBytes(path);
  importFile(path);
  ASSERT_TRUE(rewriteRecordFile(store));
  const auto rewritten = readBytes(path);
  ASSERT_EQ(rewritten.size(), original.size());
  // Each value went through one multiplication and one division: equal up to float rounding.
  for (std::size_t frame = 0; frame < 50; ++frame) {
    for (std::size_t offset = 26; offset < 1846; offset += 4) {
      const std::size_t at = 64 + frame * 1853 + 6 + offset;
      float a = 0, b = 0;
      std::memcpy(&a, &original[at], 4);
      std::memcpy(&b, &rewritten[at], 4);
      ASSERT_NEAR(a, b, std::abs(a) * 2e-7f) << "frame " << frame << " offset " << offset;
    }
  }
}

TEST_F(RecordFileRewriteTest, WithoutTransformersTheRewriteGivesTheSameBytes) {
  GeneratorOptions options;
  options.records = 30;
  options.ptRatio = 1.0f;
  options.ctRatio = 1.0f;
  options.voltageLevelCode = 1;
  options.substationName = "\xB1\xE4\xB5\xE7\xD5\xBE";
  generate(path, options);
  const auto original = readBytes(path);
  importFile(path);
  ASSERT_TRUE(rewriteRecordFile(store));
  EXPECT_EQ(readBytes(path), original);
}

TEST_F(RecordFileRewriteTest, FailedRewriteLeavesTheFileAsItWas) {
  GeneratorOptions options;
  options.records = 5;
  generate(path, options);
  const auto original = readBytes(path);
  importFile(path);
  store.fileName = dir.file("gone/record.bin");
  EXPECT_FALSE(rewriteRecordFile(store));
  store.fileName = "";
  EXPECT_FALSE(rewriteRecordFile(store));
  store.fileName = path;
  store.incompleteImport = true;  // what an import stopped by a read error leaves
  std::string failure;
  EXPECT_FALSE(rewriteRecordFile(store, &failure));
  EXPECT_EQ(failure, "记录文件未完整读入，删除不能写回文件，原文件未改动。");
  EXPECT_EQ(readBytes(path), original);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"record.bin"});
}

}  // namespace
}  // namespace pq
