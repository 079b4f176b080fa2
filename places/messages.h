// Texts of the places database that the user sees, exactly as the program shows them.
#pragma once

#include "platform/file_io.h"

namespace kelvara::places {

inline constexpr const char* kRenameQuestion1 = "Географические координаты населенного пункта \"";
inline constexpr const char* kRenameQuestion2 = "\"\nсоответствуют населенному пункту \"";
inline constexpr const char* kRenameQuestion3 = "\"\nв новой базе городов.";
inline constexpr const char* kRenameQuestion4 =
    "\n\nЗаменить на новое название\nдля учета автоматического изменения времени?";
inline constexpr const char* kRenameReminder = "Не забудьте сделать сохранение в файле.";

inline constexpr const char* kEntriesAfterGeneratedWarning = "******************";

inline constexpr const char* kDataError1 = "Ошибка в данных у";
inline constexpr const char* kDataError2 = "-го населенного пункта !!!\r\n";

inline constexpr const char* kConflict1 = "Населенный пункт: \n";
inline constexpr const char* kConflict2 = "\nуже был загружен однажды,";
inline constexpr const char* kConflict3 = "\nно совсем с другими координатами !!!";
inline constexpr const char* kConflict4 = "\n\nПродолжить без учета новых координат ?";

inline constexpr const char* kCaptionLoading = "Населенные пункты (загрузка)";
inline constexpr const char* kCaptionSaving = "Населенные пункты (сохранение)";
inline constexpr const char* kProgressLoaded = "Загружено ";
inline constexpr const char* kProgressSaved = "Сохранено ";
inline constexpr const char* kInterruptButton = "Прервать";

// Failures the place-file commands report where no fixed text exists for them.
inline constexpr const char* kCannotOpenFile = "Не удается открыть файл ";
using platform::kCannotWriteFile;
inline constexpr const char* kPlaceFileTooLarge = "Файл слишком велик для файла населенных пунктов: ";
inline constexpr const char* kDamagedPlaceFile =
    "Файл населенных пунктов поврежден: прочитано населенных пунктов: ";

}  // namespace kelvara::places
