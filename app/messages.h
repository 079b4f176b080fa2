// Texts of the documents, settings and tables that the user sees, exactly as shown.
#pragma once

#include "places/messages.h"
#include "workspace/messages.h"

namespace kelvara::app {

// Failures of the stored files, for which the program has no fixed text of its own.
using places::kCannotOpenFile;
using places::kCannotWriteFile;
// An ephemeris file failed its check and was set aside; the text ends with its name.
inline constexpr const char* kEphemerisDamaged = "Файл эфемерид поврежден: ";
// An off-screen picture of the view could not be made.
inline constexpr const char* kGraphicsResourcesShort =
    "Графических ресурсов Вашего компьютера недостаточно\nдля отображения такого количества исходных карт.\nОперация отменена.";
inline constexpr const char* kDamagedFile = "Файл поврежден: ";

// The settings store at start: damaged and set aside, or not to be opened at all.
inline constexpr const char* kStoreMovedAside1 = "Хранилище настроек было повреждено и перенесено в файл ";
inline constexpr const char* kStoreMovedAside2 = ". Настройки взяты по умолчанию.";
inline constexpr const char* kStoreSalvaged = ". Уцелевшие настройки перенесены в новое хранилище: ";
inline constexpr const char* kStoreReadOnly =
    "Хранилище настроек доступно только для чтения, изменения не будут сохранены: ";
inline constexpr const char* kStoreUnavailable =
    "Хранилище настроек недоступно, настройки не будут сохранены: ";

// Why a save failed, after kCannotWriteFile and the file's name.
inline constexpr const char* kWriteNoSpace = "нет места на диске";
inline constexpr const char* kWriteTooLarge = "файл превысил допустимый размер";
inline constexpr const char* kWriteNoAccess = "нет прав на запись";
inline constexpr const char* kWriteReadOnly = "диск только для чтения";
inline constexpr const char* kWriteNoFolder = "нет такой папки";

// Reasons given after kDamagedFile.
using workspace::kReasonBadValue;
using workspace::kReasonTrailingBytes;
using workspace::kReasonTruncated;
inline constexpr const char* kReasonTooLarge = "файл слишком велик";
inline constexpr const char* kReasonNewerLayout =
    "документ записан более новой версией программы (версия формата ";
inline constexpr const char* kReasonOldMapLayout =
    "документы старого формата \".MAP\" больше не поддерживаются";

}  // namespace kelvara::app
