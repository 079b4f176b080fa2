// Texts of the documents, settings and tables that the user sees, exactly as shown.
#pragma once

#include <string_view>

#include "places/messages.h"

namespace kelvara::app {

// Failures of the stored files, for which the program has no fixed text of its own.
using places::kCannotOpenFile;
using places::kCannotWriteFile;
inline constexpr const char* kDamagedFile = "Файл поврежден: ";

// Reasons given after kDamagedFile.
inline constexpr const char* kReasonTruncated = "данные неполны или искажены";
inline constexpr const char* kReasonBadValue = "недопустимое значение: ";
inline constexpr const char* kReasonNewerLayout =
    "документ записан более новой версией программы (версия формата ";
inline constexpr const char* kReasonOldMapLayout =
    "документы старого формата \".MAP\" больше не поддерживаются";

// Birth data the chart computation cannot take (string 60).
inline constexpr std::string_view kWrongData = "Неправильные данные!";

// Charts that are not saved, and documents that cannot be opened over a merged chart.
// The first text begins with a Latin "C", as the program has always shown it.
inline constexpr std::string_view kMidpointNotSaved = "Cредние карты не сохраняются.";
inline constexpr std::string_view kCompositeNotSaved = "Композитные карты не сохраняются.";
inline constexpr std::string_view kDoubleNotSaved = "Двойные карты не сохраняются.";
inline constexpr std::string_view kNoDoubleWithMerged =
    "Нельзя строить двойные карты с участием средних и композитных карт.";

}  // namespace kelvara::app
