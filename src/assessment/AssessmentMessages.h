#pragma once

namespace pq::messages {

// Texts the operator reads about the power-quality assessment, each in one place.
inline constexpr char kNoDeclaredVoltage[] = "标称电压为零或无效，无法判断电压暂降、暂升和短时中断。";

}  // namespace pq::messages
