#pragma once

#include <cstdint>
#include <string>

namespace pq::archive::messages {

// Texts the operator reads about the measurement archive. `where` names the archive: its file, or the
// server. `reason` is the engine's own text.
inline std::string archiveCannotOpen(const std::string& where, const std::string& reason) {
  return "无法打开测量档案 " + where + "：" + reason;
}
inline std::string archiveCannotWrite(const std::string& where, const std::string& reason) {
  return "无法写入测量档案 " + where + "：" + reason;
}
inline constexpr char kNotAnArchive[] = "这不是测量档案（其中已有别的数据表），未作改动。";
inline std::string archiveTooNew(int version, int known) {
  return "测量档案的格式版本为 " + std::to_string(version) + "，本程序只认识到版本 " + std::to_string(known) +
         "，请使用较新的程序。";
}
inline constexpr char kServerArchive[] = "PostgreSQL 服务器";
inline std::string fileAlreadyArchived(const std::string& path, std::int64_t survey) {
  return path + "：已在测量档案中（测量 " + std::to_string(survey) + "），未再次加入。";
}
inline std::string surveyNotArchived(std::int64_t survey) {
  return "测量档案中没有测量 " + std::to_string(survey) + "。";
}

}  // namespace pq::archive::messages
