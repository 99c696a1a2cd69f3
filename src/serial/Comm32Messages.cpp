#include "serial/Comm32Messages.h"

#include <array>

#include "base/LanguageTexts.h"

namespace pq::OstrelComm32 {

namespace {

// Index 0 is the text of every code without its own.
constexpr std::array<LanguageTexts, 15> kErrorTexts{{
    {"未知错误", "未知錯誤", "Unknown error"},
    {"内存不够", "記憶體不夠", "Out of memory"},
    {"不能初始化读缓存", "不能初始化讀緩存", "Cannot initialize read buffer"},
    {"不能初始化写缓存", "不能初始化寫緩存", "Cannot initialize write buffer"},
    {"不能打开端口", "不能打開埠", "Cannot open COM port"},
    {"不能设置端口事件MASK", "不能設置埠事件MASK", "Cannot set comm-mask"},
    {"不能设置端口缓存", "不能設置埠緩存", "Cannot set COM port buffer size"},
    {"不能得到端口参数", "不能得到埠參數", "Cannot read COM port parameters"},
    {"不能设置端口参数", "不能設置埠參數", "Cannot set COM port parameters"},
    {"不能创建端口异步读事件", "不能創建埠非同步讀事件", "Cannot create COM port asynchronize read event"},
    {"不能创建端口异步写事件", "不能創建埠非同步寫事件", "Cannot create COM port asynchronize write event"},
    {"不能创建端口读线程", "不能創建埠讀線程", "Cannot create COM port read thread"},
    {"不能创建端口写线程", "不能創建埠寫線程", "Cannot create COM port write thread"},
    {"不能关闭端口读线程", "不能關閉埠讀線程", "Cannot close COM port read thread"},
    {"不能关闭端口写线程", "不能關閉埠寫線程", "Cannot close COM port write thread"},
}};

}  // namespace

std::string_view comm32ErrorText(std::uint8_t code, TLangType language) {
  const LanguageTexts& texts = code < kErrorTexts.size() ? kErrorTexts[code] : kErrorTexts[0];
  return texts.in(language);
}

}  // namespace pq::OstrelComm32
