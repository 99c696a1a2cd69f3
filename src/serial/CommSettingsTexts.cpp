#include "serial/CommSettingsTexts.h"

#include <array>

#include "base/LanguageTexts.h"

namespace pq::OstrelComm32 {

namespace {

constexpr std::array<LanguageTexts, 36> kTexts{{
    {"确定", "確定", "&OK"},
    {"取消", "取消", "&Cancel"},
    {"端口设置", "串列埠設置", "COM port Setup"},
    {"端口", "串 列 埠", "COM port"},
    {"波特率", "傳輸速率", "Baud"},
    {"奇偶校验", "奇偶校驗", "Parity"},
    {"数据位", "資料位元", "Byte Size"},
    {"停止位", "停止位元", "Stop Bits"},
    {"数据流控", "資料流控", "Flow Control"},
    {"No parity (无)", "No parity (無)", "No parity"},
    {"Odd (奇)", "Odd (奇)", "Odd"},
    {"Even (偶)", "Even (偶)", "Even"},
    {"Mark (标记)", "Mark (標記)", "Mark"},
    {"None (无)", "None (無)", "None"},
    {"RTS/CTS (硬件)", "RTS/CTS (硬體)", "RTS/CTS"},
    {"Xon/Xoff (软件)", "Xon/Xoff (軟體)", "Xon/Xoff"},
    {"RTS/CTS & Xon/Xoff (硬&软)", "RTS/CTS & Xon/Xoff (硬&軟)", "RTS/CTS & Xon/Xoff"},
    {"必须选择端口", "必須選擇串列埠", "Must select COM Port"},
    {"必须输入/选择波特率", "必須輸入/選擇串列傳輸速率", "Must select baud rate"},
    {"无效的波特率", "無效的串列傳輸速率", "Invalid baud rate"},
    {"必须选择数据位", "必須選擇資料位元", "Must select byte size"},
    {"必须选择奇偶校验", "必須選擇奇偶校驗", "Must select parity check"},
    {"必须选择停止位", "必須選擇停止位元", "Must select stop bits"},
    {"必须选择数据流控制", "必須選擇資料流程控制", "Must select flow control"},
    {},
    {},
    {"端口选项", "埠選項", "Port"},
    {"调制解调器选项", "數據機選項", "Modem"},
    {"缓存容量", "緩存容量", "Buffer"},
    {"自动应答", "自動回應", "Auto Answer"},
    {"输入缓存", "輸入緩存", "Input Buf."},
    {"输出缓存", "輸出緩存", "Output Buf."},
    {"自动应答必须是 0 - 255 的整数", "自動回應必須是 0 - 255 的整數", "Auto Answer: 0 - 255"},
    {"输入缓存容量错误", "輸入緩存容量錯誤", "Input Buffer size error"},
    {"输出缓存容量错误", "輸出緩存容量錯誤", "Output Buffer size error"},
    {"Space (空格)", "Space (空白)", "Space Parity"},
}};

}  // namespace

std::string_view commSettingsText(int index, TLangType language) {
  if (index < 0 || index >= static_cast<int>(kTexts.size())) return {};
  const LanguageTexts& texts = kTexts[static_cast<std::size_t>(index)];
  return texts.in(language);
}

}  // namespace pq::OstrelComm32
