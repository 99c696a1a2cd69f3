// The chunks that workers compress apart must join into one deflate stream: checked by inflating the
// output as one stream, on sizes around the chunk size where a chunk boundary falls.
#include "export/ParallelDeflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pq {
namespace {

constexpr std::size_t kChunk = 4096;

// Text lines with numbers of their own: compressible, with no run of repeats a chunk edge could hide.
std::string sampleText(std::size_t size) {
  std::string text;
  for (unsigned n = 7; text.size() < size; n = n * 2654435761u + 97) text += std::to_string(n % 999983) + ";x\n";
  text.resize(size);
  return text;
}

// Bytes that no deflate can shrink (the compressor falls back to stored blocks, its output grows
// past its input), and one byte over and over (matches of the longest length, the output a few
// bytes a chunk): the two ends of what a compressor's output size can be.
std::string randomBytes(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (char& byte : bytes) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    byte = static_cast<char>(state >> 56);
  }
  return bytes;
}

std::string sameByte(std::size_t size) { return std::string(size, 'q'); }

// Inflates a raw deflate stream; the stream must end exactly at the end of the bytes.
std::string inflateRaw(const std::vector<unsigned char>& compressed, bool& ended) {
  z_stream stream{};
  inflateInit2(&stream, -15);
  std::string out;
  std::vector<unsigned char> buffer(65536);
  stream.next_in = const_cast<unsigned char*>(compressed.data());
  stream.avail_in = static_cast<uInt>(compressed.size());
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = buffer.data();
    stream.avail_out = static_cast<uInt>(buffer.size());
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - stream.avail_out);
    if (result == Z_BUF_ERROR && stream.avail_in == 0) break;
  }
  ended = result == Z_STREAM_END && stream.avail_in == 0;
  inflateEnd(&stream);
  return out;
}

TEST(ParallelDeflateTest, ChunksJoinIntoOneStream) {
  const std::size_t sizes[] = {0, 1, kChunk - 1, kChunk, kChunk + 1, 2 * kChunk, 13 * kChunk + 1234};
  // Written at once, and in pieces that straddle the chunk edges.
  const std::size_t pieces[] = {1u << 30, 1000, 4097};
  const struct {
    const char* name;
    std::string (*make)(std::size_t);
  } contents[] = {{"text", sampleText}, {"random bytes", randomBytes}, {"one byte repeated", sameByte}};
  for (const auto& content : contents) {
    for (const unsigned workers : {1u, 3u}) {
      for (const std::size_t size : sizes) {
        for (const std::size_t piece : pieces) {
          SCOPED_TRACE(testing::Message() << content.name << ", " << workers << " workers, " << size
                                          << " bytes in pieces of " << piece);
          const std::string text = content.make(size);
          std::vector<unsigned char> out;
          ParallelDeflate deflate(
              [&](const void* data, std::size_t n) {
                const auto* bytes = static_cast<const unsigned char*>(data);
                out.insert(out.end(), bytes, bytes + n);
                return true;
              },
              kChunk, workers);
          for (std::size_t at = 0; at < text.size(); at += piece) {
            ASSERT_TRUE(deflate.write(std::string_view(text).substr(at, piece)));
          }
          ASSERT_TRUE(deflate.finish());
          bool ended = false;
          EXPECT_EQ(inflateRaw(out, ended), text);
          EXPECT_TRUE(ended);
          EXPECT_EQ(deflate.size(), size);
          EXPECT_EQ(deflate.compressedSize(), out.size());
          EXPECT_EQ(deflate.crc(),
                    crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(size)));
        }
      }
    }
  }
}

TEST(ParallelDeflateTest, CrcOfKnownText) {
  ParallelDeflate deflate([](const void*, std::size_t) { return true; }, 4, 2);
  deflate.write("1234");
  deflate.write("56789");
  deflate.finish();
  EXPECT_EQ(deflate.crc(), 0xCBF43926u);
  EXPECT_EQ(deflate.size(), 9u);
}

// A sink that fails (a full disk) gets nothing more, and the stream says so to the end.
TEST(ParallelDeflateTest, FailedSinkStopsTheOutput) {
  int calls = 0;
  ParallelDeflate deflate(
      [&](const void*, std::size_t) {
        ++calls;
        return false;
      },
      kChunk, 2);
  const std::string text = sampleText(20 * kChunk);
  bool accepted = true;
  for (std::size_t at = 0; at < text.size(); at += 3000) {
    accepted = deflate.write(std::string_view(text).substr(at, 3000)) && accepted;
  }
  EXPECT_FALSE(accepted);
  EXPECT_FALSE(deflate.finish());
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace pq
