#include "interpretation/text_request.h"

#include <array>

namespace kelvara::interpretation {
namespace {

constexpr std::array<std::string_view, 12> kSignGenitives = {
    "Овна", "Тельца", "Близнецов", "Рака", "Льва", "Девы",
    "Весов", "Скорпиона", "Стрельца", "Козерога", "Водолея", "Рыб"};

constexpr std::string_view kDegreeWord = "-й градус ";
constexpr std::string_view kNoHexagram = "—";

}  // namespace

std::string_view SignGenitive(int sign) {
  return sign >= 1 && sign <= int(kSignGenitives.size()) ? kSignGenitives[sign - 1] : std::string_view();
}

std::string DegreeRequest(int degree, int sign) {
  if (degree == 0) return {};
  return std::to_string(degree) + std::string(kDegreeWord) + std::string(SignGenitive(sign));
}

std::string IChingCellRequest(std::string_view cellText) {
  if (cellText.empty() || cellText == "0" || cellText == kNoHexagram) return {};
  return std::string(cellText) + std::string(kIChingMarker);
}

}  // namespace kelvara::interpretation
