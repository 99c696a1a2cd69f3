#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pq::archive {

// The SHA-256 of bytes, as 64 lower-case hexadecimal digits: what recognises a record file that is
// archived already, under whatever name or folder.
std::string sha256Text(std::string_view bytes);
// Of a file's whole content; nothing when it cannot be read to its end.
std::optional<std::string> fileSha256Text(const std::string& path);

}  // namespace pq::archive
