#pragma once

namespace pq::app {

// The application title: the caption of every plain message box; the main window adds the version.
inline constexpr char kApplicationTitle[] = "电能质量分析系统";
inline constexpr char kVersion[] = "2.7";

}  // namespace pq::app
