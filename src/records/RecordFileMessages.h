#pragma once

namespace pq::messages {

// Texts the operator reads about record files, each in one place.
inline constexpr char kImportStatus[] = "正在创建数据库文件... ...，请稍等!";
inline constexpr char kImportDone[] = "文件转换完成！ ";
inline constexpr char kImportStopped[] = "文件转换中断！ ";
inline constexpr char kProgressPrefix[] = "已完成";
inline constexpr char kFileEmpty[] = "文件空。";
inline constexpr char kFileTooLong[] = "文件超长！";
inline constexpr char kFileTooShort[] = "文件太短，请重新保存或打开另一个文件！";
inline constexpr char kReadFailed[] = "读取记录文件出错，导入已停止，已读入的记录保留：";
inline constexpr char kFileCutWhileRead[] = "文件在读入时被截短";
inline constexpr char kFileMissing[] = "文件不存在!";
inline constexpr char kRewriteFailed[] = "记录文件写入失败，原文件未改动：";
inline constexpr char kPartialStoreNotWritten[] = "记录文件未完整读入，删除不能写回文件，原文件未改动。";
inline constexpr char kDeletePositionEmpty[] = "删除位置空，请重新输入！";
inline constexpr char kDeletePositionWrong[] = "输入删除位置不正确，请重新输入！";
inline constexpr char kDeleteQuestion[] = "确认删除吗?";
inline constexpr char kDeleteCaption[] = "删除提示！";

}  // namespace pq::messages
