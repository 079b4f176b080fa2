// Texts of the chart workspace that the user sees, exactly as shown.
#pragma once

namespace kelvara::workspace {

// Why a stored file was refused, shown after the damaged-file message.
inline constexpr const char* kReasonTruncated = "данные неполны или искажены";
inline constexpr const char* kReasonBadValue = "недопустимое значение: ";
inline constexpr const char* kReasonTrailingBytes = "лишние данные после конца файла";

}  // namespace kelvara::workspace
