#include "serial/Comm32Error.h"

#include <gtest/gtest.h>

#include "serial/Comm32Messages.h"

namespace pq::OstrelComm32 {
namespace {

TEST(Comm32ErrorTest, TextsOfEveryLanguageAndTheUnknownCode) {
  struct Case {
    std::uint8_t code;
    std::string_view simplified, traditional, english;
  };
  const Case cases[] = {
      {1, "内存不够", "記憶體不夠", "Out of memory"},
      {7, "不能得到端口参数", "不能得到埠參數", "Cannot read COM port parameters"},
      {13, "不能关闭端口读线程", "不能關閉埠讀線程", "Cannot close COM port read thread"},
      {14, "不能关闭端口写线程", "不能關閉埠寫線程", "Cannot close COM port write thread"},
      {0, "未知错误", "未知錯誤", "Unknown error"},
      {15, "未知错误", "未知錯誤", "Unknown error"},
      {255, "未知错误", "未知錯誤", "Unknown error"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(comm32ErrorText(c.code, ltGbk), c.simplified);
    EXPECT_EQ(comm32ErrorText(c.code, ltBig5), c.traditional);
    EXPECT_EQ(comm32ErrorText(c.code, ltEnglish), c.english);
    EXPECT_EQ(comm32ErrorText(c.code, static_cast<TLangType>(9)), c.english);
  }
}

}  // namespace
}  // namespace pq::OstrelComm32
