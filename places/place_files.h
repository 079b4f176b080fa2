// Import into and export from the places list: text place files (UTF-16LE, four
// header lines) and binary place files (count, then name and coordinates).
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "places/places_list.h"

namespace kelvara::places {

enum class PlaceFileStatus {
  kDone,
  kCancelled,   // "Прервать", or Cancel on the question about other coordinates
  kDataError,   // a place with unreadable or out-of-range coordinates
  kDamaged,     // a binary file shorter than its count says
  kCannotOpen,
  kCannotWrite,
};

struct PlaceFileResult {
  PlaceFileStatus status = PlaceFileStatus::kDone;
  int placesDone = 0;   // places added (loading) or written (saving)
  std::string message;  // for the message box or the progress window; empty when none
};

struct PlaceFileUi {
  ProgressCallback progress;
  // The OK/Cancel question about a known place with other coordinates; true is OK.
  std::function<bool(const std::string& question)> confirmKeepOld;
};

// Text files are those whose name, upper-cased, contains ".TXT".
bool IsTextPlaceFile(const std::filesystem::path& file);

PlaceFileResult LoadPlaces(const std::filesystem::path& file, PlacesList& list,
                           const PlaceFileUi& ui);
PlaceFileResult SavePlaces(const std::filesystem::path& file, const PlacesList& list,
                           const PlaceFileUi& ui);

// The file's text as UTF-8: UTF-16LE as written by SavePlaces, and also files with a
// byte-order mark, UTF-8 or Windows-1251, as other editors leave them.
std::string DecodePlaceText(std::string_view bytes);

}  // namespace kelvara::places
