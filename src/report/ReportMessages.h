#pragma once

namespace pq::messages {

// Texts of the report window, each in one place.
inline constexpr char kNoSuchPrinter[] = "不存在你指定的打印机 ";
inline constexpr char kNoSuchPrinterCaption[] = "错误 ";
inline constexpr char kSpreadsheetFailed[] = "启动 Excel 出错, 可能是没有安装Excel.";
inline constexpr char kSpreadsheetFailedCaption[] = "错误";
inline constexpr char kSpreadsheetNotSaved[] = "Excel 文件无法保存：";
inline constexpr char kSpreadsheetDone[] = "转换结束!";
inline constexpr char kSpreadsheetDoneCaption[] = "Excel";

}  // namespace pq::messages
