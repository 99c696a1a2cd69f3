#pragma once

namespace pq::messages {

// Texts the operator reads about reports, each in one place.
inline constexpr char kChooseVoltageLevel[] = "请选择电压等级!";
inline constexpr char kEnterParameters[] = "请先输入相关参数值!";
inline constexpr char kNoRecordFile[] = "记录文件不存在，请打开一个记录文件。";
inline constexpr char kReportBusy[] = "正在生成报表......";

}  // namespace pq::messages
