#pragma once

#include <string>

namespace pq::messages {

// Texts the operator reads while a survey of several record files opens. A file is named by the
// path the operator gave.
inline std::string surveyFileMissing(const std::string& path) {
  return path + "：文件不存在或无法打开，未计入测量。";
}
inline std::string surveyFileVanished(const std::string& path) {
  return path + "：文件在打开测量时已不存在，未计入测量。";
}
inline std::string surveySameFile(const std::string& path, const std::string& earlier) {
  return path + "：与 " + earlier + " 是同一个文件，只计一次。";
}
inline std::string surveySameContent(const std::string& path, const std::string& earlier) {
  return path + "：与 " + earlier + " 内容相同，只计一次。";
}
inline std::string surveyNoRecords(const std::string& path) { return path + "：没有有效记录，未计入测量。"; }
inline std::string surveyEmptyFolder(const std::string& path) {
  return path + "：文件夹中没有记录文件（*.bin）。";
}
inline std::string surveyMismatch(const std::string& path, const char* field, const std::string& value,
                                  const std::string& firstPath, const std::string& firstValue) {
  return path + "：" + field + "为“" + value + "”，与 " + firstPath + " 的“" + firstValue + "”不同。";
}
inline constexpr char kSurveySubstation[] = "变电站";
inline constexpr char kSurveyMeasuringPoint[] = "测量点";
inline constexpr char kSurveyVoltageLevel[] = "电压等级";
inline constexpr char kSurveyPtRatio[] = "PT变比";
inline constexpr char kSurveyCtRatio[] = "CT变比";
inline constexpr char kSurveyInstrument[] = "仪器编号";
inline std::string surveyTruncated(const std::string& path, const std::string& lastTime) {
  return path + "：文件末尾的记录不完整，已读入到 " + lastTime + " 的记录。";
}
inline std::string surveyDamagedFrames(const std::string& path, long long frames) {
  return path + "：" + std::to_string(frames) + " 条记录损坏，未读入；其位置见数据间断。";
}
inline std::string surveyReadFailed(const std::string& path, const std::string& importMessage,
                                    const std::string& lastTime) {
  return path + "：" + importMessage + "（已读入到 " + lastTime + " 的记录）";
}
inline std::string surveyOverlapping(const std::string& path, int records) {
  return path + "：" + std::to_string(records) + " 条记录与前一文件的时间重叠，未计入。";
}
inline std::string surveyOutOfOrder(const std::string& path, int records) {
  return path + "：" + std::to_string(records) + " 条记录时间重复、倒序或无效，未计入。";
}
inline std::string surveyDayFileGone(const std::string& path) {
  return "文件“" + path + "”已不存在（已被删除或移走），无法载入。";
}
inline constexpr char kSurveyNoFiles[] = "没有可用的记录文件，测量未打开。";

}  // namespace pq::messages
