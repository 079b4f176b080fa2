// Collecting a thematic section: every entry of the section's listed files whose key
// describes a fact of the chart, behind the section's header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "interpretation/text_files.h"
#include "interpretation/text_keys.h"
#include "interpretation/text_library.h"

namespace kelvara::interpretation {

inline constexpr std::string_view kEmptyLineKey = "ПУСТАЯ СТРОКА";
inline constexpr std::string_view kNoTextMessage =
    "ТЕКСТ ИНТЕРПРЕТАЦИИ ОТСУТСТВУЕТ\r\n\r\nВыберите другой тематический раздел.\r\n";

struct CollectResult {
  // Keys and texts in Windows-1251: first the empty-line key with the header, then the
  // selected entries (or the empty-line key with the no-text message).
  std::vector<TextEntry> pieces;
  std::string message;  // UTF-8; set, with no pieces, when reading stopped
};

// "Тематический раздел: "<name>" (<caption>)" and two line ends, in Windows-1251.
std::string SectionHeader(const Section& section);

// Moves the entries about each object, in slot order, in front of the rest.
void OrderByPlanets(std::vector<TextEntry>& entries);

CollectResult Collect(const Section& section, const KeySets& keys);

}  // namespace kelvara::interpretation
