#pragma once

namespace pq::messages {

// Texts the operator reads about the power-quality assessment, each in one place.
inline constexpr char kNoDeclaredVoltage[] = "标称电压为零或无效，无法判断电压暂降、暂升和短时中断。";
inline constexpr char kNoNominalVoltage[] = "标称电压为零或无效，无法判断电压偏差。";
inline constexpr char kNoDeviationBand[] = "标称电压不属于GB/T 12325所列的电压等级，无法判断电压偏差。";
inline constexpr char kInvalidDeviationBand[] =
    "电压偏差限值无效：上限应不小于0，下限应不大于0，35kV及以上两者绝对值之和不超过10%。";
inline constexpr char kNoMonitoredMinutes[] = "没有可判断的1分钟电压值，无法计算电压合格率。";
inline constexpr char kNotAggregated[] = "统计值中没有该指标。";
inline constexpr char kNoTenMinuteValues[] = "没有可判断的10分钟值，无法判断三相不平衡度。";
inline constexpr char kNoTenSecondValues[] = "没有可判断的10秒频率值，无法判断频率偏差。";
inline constexpr char kNoThreeSecondValues[] = "没有可判断的3秒值，无法判断谐波。";
inline constexpr char kNinetyFiveUnknown[] = "3秒值多于预计，95%概率值无法确定，无法判断。";
inline constexpr char kTooFewFor95Percent[] = "可判断的值少于20个，没有95%概率值，无法判断。";
inline constexpr char kInvalidLimits[] = "限值无效，无法判断。";
inline constexpr char kShownWithoutVerdict[] = "仅列出，不作判断。";
inline constexpr char kNothingToAssess[] = "所选时间段内没有可评估的记录。";
inline constexpr char kNoData[] = "无数据";  // of a gap in the records
inline constexpr char kCannotAssessWithoutDeclaredVoltage[] = "标称电压为零或无效，无法进行电能质量评估。";

// Limit-set files; %s: the file, then the member ("unbalance.network.p95").
inline constexpr char kLimitFileUnreadable[] = "无法读取限值文件“%s”，使用程序自带的限值。";
inline constexpr char kLimitFileNotJson[] = "限值文件“%s”不是有效的JSON文件，使用程序自带的限值。";
inline constexpr char kLimitMemberMissing[] = "限值文件“%s”缺少“%s”，使用程序自带的限值。";
inline constexpr char kLimitMemberNotNumber[] = "限值文件“%s”中“%s”应为数值，使用程序自带的限值。";
inline constexpr char kLimitMemberNotText[] = "限值文件“%s”中“%s”应为文字，使用程序自带的限值。";
inline constexpr char kLimitMemberNotGroup[] =
    "限值文件“%s”中“%s”应为一组限值（JSON对象），使用程序自带的限值。";
// The third %s: the choices, "“network”或“userShare”".
inline constexpr char kLimitMemberBadChoice[] = "限值文件“%s”中“%s”应为%s，使用程序自带的限值。";
inline constexpr char kLimitMemberNotPositive[] = "限值文件“%s”中“%s”应为正数，使用程序自带的限值。";
// Deviation bands GB/T 12325 does not allow; %s: the file, then the band or its bound.
inline constexpr char kLimitBandTooWide[] = "限值文件“%s”中“%s”：正负偏差绝对值之和不得超过10%%，不能用于评估。";
inline constexpr char kLimitBandUpperBelowZero[] = "限值文件“%s”中“%s”：上偏差不得小于0，不能用于评估。";
inline constexpr char kLimitBandLowerAboveZero[] = "限值文件“%s”中“%s”：下偏差不得大于0，不能用于评估。";
inline constexpr char kLimitMemberUnknown[] = "限值文件“%s”中的“%s”不是限值的名称，使用程序自带的限值。";

}  // namespace pq::messages
