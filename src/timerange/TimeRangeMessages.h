#pragma once

namespace pq::messages {

// Texts the operator reads about time ranges, each in one place.
inline constexpr char kQueryTimeWrong[] = "查询时间不正确，请重新输入!";
inline constexpr char kMonthWrong[] = "不合法的月份。请重新输入'1-12'。";
inline constexpr char kDayWrong[] = "不合法的日期。请重新输入'1-31'。";
inline constexpr char kHourWrong[] = "不合法的小时。请重新输入'0-23'。";
inline constexpr char kMinuteWrong[] = "不合法的分钟。请重新输入'0-59'。";
inline constexpr char kYearFourDigits[] = "请按四位数字格式输入年份。";
inline constexpr char kYearWrong[] = "不合法的年份。请重新输入。";
inline constexpr char kClockWrong[] = "仪器时间或系统时间不对，请调整时间。";
inline constexpr char kEndBeforeStart[] = "终止时间必须大于开始时间，请重新输入。";
inline constexpr char kNoRecordsInSpan[] = "该时间段记录个数为零，请重新输入时间。";

}  // namespace pq::messages
