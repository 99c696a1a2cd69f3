#include "base/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace pq {

namespace {

const char* chineseReason(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return "没有权限";
    case ENOSPC:
    case EDQUOT:
      return "磁盘空间不足";
    case ENOENT:
      return "文件或文件夹不存在";
    case EROFS:
      return "只读文件系统";
    case EISDIR:
      return "是文件夹，不是文件";
    case ENOTDIR:
      return "路径中有一项不是文件夹";
    case EEXIST:
      return "文件已经存在";
    case EBUSY:
    case ETXTBSY:
      return "文件正被使用";
    case ENAMETOOLONG:
      return "文件名太长";
    case EFBIG:
      return "文件太大";
    case EIO:
      return "读写出错";
    default:
      return nullptr;
  }
}

}  // namespace

std::string systemErrorText(int errorNumber) {
  const std::string system = std::strerror(errorNumber);
  const char* chinese = chineseReason(errorNumber);
  if (chinese == nullptr) return system;
  return std::string(chinese) + "（" + system + "）";
}

}  // namespace pq
