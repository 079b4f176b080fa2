#include "interpretation/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "interpretation/text_files.h"
#include "interpretation/text_request.h"
#include "platform/codepage.h"
#include "workspace/aspect_finder.h"

namespace kelvara::interpretation {
namespace ws = workspace;
namespace {

constexpr std::array<std::string_view, 12> kSignPrepositionals = {
    "в Овне", "в Тельце", "в Близнецах", "в Раке", "во Льве", "в Деве",
    "в Весах", "в Скорпионе", "в Стрельце", "в Козероге", "в Водолее", "в Рыбах"};

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kAfterTitle = "\r\n\r\n\r\n";
constexpr std::string_view kPositionsHeading = "ПОЛОЖЕНИЕ ПЛАНЕТ НА МОМЕНТ РОЖДЕНИЯ\r\n";
constexpr std::string_view kTraitsHeading = "\r\n\r\n ПЛАНЕТАРНЫЕ ЧЕРТЫ ХАРАКТЕРА\r\n";
constexpr std::string_view kPersonalHeading = "             л и ч н о с т н ы е\r\n";
constexpr std::string_view kCollectiveHeading = "\r\n          к о л л е к т и в н ы е\r\n\r\n";
constexpr std::string_view kKarmicHeading = "\r\n           к а р м и ч е с к и е\r\n\r\n";
constexpr std::string_view kMissingDescription = "   ........... (описание отсутствует)\r\n";
constexpr std::string_view kRahu = "(Раху) ";
constexpr std::string_view kSelenaAndLilith = "Селена и Лилит";
constexpr std::string_view kClosingStars = "\r\n                 *  *  *  *  *\r\n\r\n";
constexpr std::string_view kFirstPlaceholder = "pl1";
constexpr std::string_view kSecondPlaceholder = "pl2";

// Objects 1-16 take part; the collective ones are 9-12, the karmic ones 13-16.
constexpr int kLastReportSlot = ws::kSlotLilith;
constexpr int kFirstCollectiveSlot = 9;
constexpr int kFirstKarmicSlot = ws::kSlotNorthNode;
// The third and every later aspect of a kind share one heading.
constexpr int kLastCountedHeading = 3;
constexpr long kLastHundredthOfSign = 2999;

struct MajorAspect {
  double angleDeg;
  std::string_view heading;
};
constexpr std::array<MajorAspect, 5> kMajorAspects = {{{0.0, "Соединение."},
                                                       {60.0, "Секстиль."},
                                                       {90.0, "Квадратура."},
                                                       {120.0, "Тригон."},
                                                       {180.0, "Оппозиция."}}};

std::string Cp(std::string_view utf8) { return platform::Utf8ToCp1251(utf8); }

std::string_view WithoutLineEnd(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  return text;
}

std::string_view WithoutLeadingLineEnd(std::string_view text) {
  if (text.starts_with(kLineEnd)) text.remove_prefix(kLineEnd.size());
  else if (text.starts_with('\n')) text.remove_prefix(1);
  return text;
}

// From `at` to the next "#" (or the end), its line end dropped.
std::string_view UpToNextMark(std::string_view bytes, std::size_t at) {
  const std::size_t mark = bytes.find('#', at);
  return WithoutLineEnd(bytes.substr(at, mark == std::string_view::npos ? std::string_view::npos : mark - at));
}

// The entry that begins with `key`, looked for past the file's first character.
std::optional<std::string_view> EntryOf(std::string_view bytes, std::string_view key) {
  const std::size_t at = bytes.find(key, 1);
  if (at == std::string_view::npos) return std::nullopt;
  return UpToNextMark(bytes, at);
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string MomentLine(std::string_view label, const ws::CalendarMoment& m) {
  char line[96];
  std::snprintf(line, sizeof line, "  %.*s: %02d:%02d:%02d  %02d.%02d.%d\r\n", int(label.size()), label.data(),
                m.hour, m.minute, m.second, m.day, m.month, m.year);
  return line;
}

std::optional<std::size_t> MajorAspectOf(double angleDeg) {
  for (std::size_t kind = 0; kind < kMajorAspects.size(); ++kind) {
    if (kMajorAspects[kind].angleDeg == angleDeg) return kind;
  }
  return std::nullopt;
}

bool IsNodePair(const ws::FoundAspect& found) {
  return found.innerSlot == ws::kSlotNorthNode && found.outerSlot == ws::kSlotSouthNode;
}

class ReportWriter {
 public:
  ReportWriter(const ws::ChartRecord& chart, const ws::AspectTable& aspects, std::filesystem::path root)
      : chart_(chart), aspects_(aspects), root_(std::move(root)) {}

  ReportResult Run() {
    if (!AddWhole(kTitleFile)) return std::move(result_);
    Add(kAfterTitle);
    AddBirthBlock();
    AddPositions();
    Add(kLineEnd);
    if (!AddWhole(kShortIntroFile)) return std::move(result_);
    AddShortCharacteristics();
    if (!AddWhole(kAfterShortFile)) return std::move(result_);
    AddPlanetParagraphs();
    AddSelenaAndLilith();
    Add(kLineEnd);
    if (!AddWhole(kAspectIntroFile)) return std::move(result_);
    AddAspects();
    Add(kClosingStars);
    AddWhole(kClosingFile);
    return std::move(result_);
  }

 private:
  void Add(std::string_view utf8) { result_.pieces.push_back(Cp(utf8)); }
  void AddBytes(std::string bytes) { result_.pieces.push_back(std::move(bytes)); }

  // A report file's bytes, read once; a missing one is told once, unless it is the refrain.
  const std::string* File(std::string_view name) {
    auto [it, added] = files_.try_emplace(name);
    if (!added) return it->second ? &*it->second : nullptr;
    const std::string shownName = "'" + std::string(name) + "'";
    const auto path = FindFileNoCase(root_, name);
    if (!path) {
      if (name != kRefrainFile) result_.messages.push_back(std::string(kFileNotFoundMessage) + shownName);
      return nullptr;
    }
    FileBytes read = ReadLibraryFile(*path, shownName);
    if (!read.bytes) result_.messages.push_back(read.message);
    it->second = std::move(read.bytes);
    return it->second ? &*it->second : nullptr;
  }

  bool AddWhole(std::string_view name) {
    const std::string* bytes = File(name);
    if (bytes) AddBytes(*bytes);
    return bytes != nullptr;
  }

  bool Shown(int slot) const {
    const ws::ChartObject& object = chart_.objects[slot];
    return object.visible != 0 && object.HasLongitude() && !SignPrepositional(object.sign).empty();
  }

  std::string Name(int slot) const { return ws::ObjectDisplayName(chart_.objects, slot); }

  // Name + " " + the sign in the prepositional case, in the files' bytes.
  std::string Key(int slot, bool withRahu = false) const {
    std::string key = Name(slot) + " ";
    if (withRahu && slot == ws::kSlotNorthNode) key += kRahu;
    return Cp(key + std::string(SignPrepositional(chart_.objects[slot].sign)));
  }

  void AddBirthBlock() {
    if (chart_.name.empty()) return;
    Add("Имя: " + chart_.name + std::string(kLineEnd));
    Add("Время рождения:\r\n");
    Add(MomentLine("местное", chart_.local));
    Add(MomentLine("по Гринвичу", chart_.greenwich));
    Add(kLineEnd);
  }

  void AddPositions() {
    Add(kPositionsHeading);
    Add(kLineEnd);
    for (int slot = ws::kFirstSlot; slot <= kLastReportSlot; ++slot) {
      if (!Shown(slot)) continue;
      const ws::ChartObject& object = chart_.objects[slot];
      Add(" " + Name(slot));
      Add(PositionInSignText(object.signDegree));
      Add(std::string(SignGenitive(object.sign)) + std::string(kLineEnd));
    }
  }

  void AddShortCharacteristics() {
    const std::string* shortFile = File(kShortFile);
    if (!shortFile) return;
    bool listed = false;
    for (int slot = ws::kFirstSlot; slot <= kLastReportSlot; ++slot) {
      if (!Shown(slot)) continue;
      if (const auto entry = EntryOf(*shortFile, Key(slot))) {
        AddBytes(Cp("\r\n  ") + std::string(*entry) + ";");
        listed = true;
      }
    }
    // The list ends in a full stop, which takes the place of the last entry's ";".
    if (listed) result_.pieces.back().pop_back();
    Add(".\r\n");
  }

  void AddPlanetParagraphs() {
    const std::string* paragraphs = File(kPlanetInSignFile);
    if (!paragraphs) return;
    const std::string* refrain = File(kRefrainFile);
    Add(kTraitsHeading);
    Add(kPersonalHeading);
    bool collectiveTold = false;
    bool karmicTold = false;
    for (int slot = ws::kFirstSlot; slot <= kLastReportSlot; ++slot) {
      if (slot == ws::kSlotSouthNode || !Shown(slot)) continue;
      Add(kLineEnd);
      if (!collectiveTold && slot >= kFirstCollectiveSlot && slot < kFirstKarmicSlot) {
        Add(kCollectiveHeading);
        collectiveTold = true;
      }
      if (!karmicTold && slot >= kFirstKarmicSlot) {
        Add(kKarmicHeading);
        karmicTold = true;
      }
      if (refrain) AddBytes(*refrain);
      const std::string key = Key(slot, true);
      if (const auto entry = EntryOf(*paragraphs, key)) {
        AddBytes(std::string(*entry) + std::string(kLineEnd));
      } else {
        AddBytes(key + Cp(kMissingDescription));
      }
    }
  }

  void AddSelenaAndLilith() {
    const std::string* paragraphs = File(kPlanetInSignFile);
    if (!paragraphs || !Shown(ws::kSlotSelena) || !Shown(ws::kSlotLilith)) return;
    if (chart_.objects[ws::kSlotSelena].sign != chart_.objects[ws::kSlotLilith].sign) return;
    if (const auto entry = EntryOf(*paragraphs, Cp(kSelenaAndLilith))) {
      AddBytes(Cp(kLineEnd) + std::string(*entry) + Cp(kLineEnd));
    }
  }

  // Major aspects among objects 1-16 as the wheel finds them, pair by pair.
  std::vector<ws::FoundAspect> MajorAspects() const {
    ws::AspectFinderInput input;
    input.inner = input.outer = &chart_.objects;
    input.table = &aspects_;
    input.lastSlot = kLastReportSlot;
    std::vector<ws::FoundAspect> found = ws::FindAspects(input);
    std::erase_if(found, [](const ws::FoundAspect& f) { return IsNodePair(f) || !MajorAspectOf(f.angleDeg); });
    std::stable_sort(found.begin(), found.end(), [](const ws::FoundAspect& a, const ws::FoundAspect& b) {
      return std::pair(a.innerSlot, a.outerSlot) < std::pair(b.innerSlot, b.outerSlot);
    });
    return found;
  }

  void AddAspects() {
    const std::string* shortFile = File(kShortFile);
    const std::string* paragraphs = File(kAspectFile);
    if (!shortFile || !paragraphs) return;
    std::array<int, kMajorAspects.size()> counts{};
    for (const ws::FoundAspect& found : MajorAspects()) {
      const std::string keyA = Key(found.innerSlot);
      const std::string keyB = Key(found.outerSlot);
      if (const auto entry = EntryOf(*shortFile, keyA)) AddBytes(Cp(kLineEnd) + std::string(*entry) + ",");
      if (const auto entry = EntryOf(*shortFile, keyB)) AddBytes(Cp(" и ") + std::string(*entry) + ",");
      const std::size_t kind = *MajorAspectOf(found.angleDeg);
      const int number = std::min(++counts[kind], kLastCountedHeading);
      const std::string heading = Cp(std::to_string(number) + ". " + std::string(kMajorAspects[kind].heading));
      const std::size_t at = paragraphs->find(heading);
      if (at == std::string::npos) continue;
      const std::string_view after = WithoutLeadingLineEnd(std::string_view(*paragraphs).substr(at + heading.size()));
      std::string paragraph(UpToNextMark(after, 0));
      ReplaceAll(paragraph, kFirstPlaceholder, keyA);
      ReplaceAll(paragraph, kSecondPlaceholder, keyB);
      AddBytes(" " + paragraph + Cp(kLineEnd));
    }
  }

  const ws::ChartRecord& chart_;
  const ws::AspectTable& aspects_;
  const std::filesystem::path root_;
  std::map<std::string_view, std::optional<std::string>, std::less<>> files_;
  ReportResult result_;
};

}  // namespace

std::string ReportResult::Text() const {
  std::string text;
  for (const std::string& piece : pieces) text += piece;
  return text;
}

ReportResult Report(const ws::ChartRecord& chart, const ws::AspectTable& aspects,
                    const std::filesystem::path& libraryRoot) {
  return ReportWriter(chart, aspects, libraryRoot).Run();
}

std::string_view SignPrepositional(int sign) {
  return sign >= 1 && sign <= int(kSignPrepositionals.size()) ? kSignPrepositionals[sign - 1] : std::string_view();
}

std::string PositionInSignText(double signDegree) {
  const long hundredths = std::clamp(std::lround(signDegree * 100.0), 0L, kLastHundredthOfSign);
  char text[48];
  std::snprintf(text, sizeof text, " ... %02ld.%02ld град. ", hundredths / 100, hundredths % 100);
  return text;
}

}  // namespace kelvara::interpretation
