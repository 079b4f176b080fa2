#include "interpretation/dignity_edit.h"

#include <utility>

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;

// The tables in mode order: modes 1-2, 3-4, 5-6, 7-8.
constexpr std::array<ChainKind, 4> kModeKinds = {ChainKind::kRulership, ChainKind::kExile, ChainKind::kExaltation,
                                                 ChainKind::kFall};
constexpr std::array<std::string_view, 4> kModeCaptions = {"управляет", "в изгнании", "экзальтирует", "в падении"};

bool IsChainObject(int object) { return object >= kFirstChainObject && object <= kLastChainObject; }
bool IsSign(int sign) { return sign >= 0 && sign < ws::kSignCount; }

// The same table as TableOfKind picks, writable; the tables themselves are not const.
ws::DignityTable& TableToEdit(ws::DignityTables& tables, ChainKind kind) {
  return const_cast<ws::DignityTable&>(TableOfKind(std::as_const(tables), kind));
}

std::optional<int> NthSign(const ws::DignityTable& table, int object, int occurrence) {
  const std::vector<int> signs = SignsOfObject(table, object);
  if (occurrence < 0 || occurrence >= static_cast<int>(signs.size())) return std::nullopt;
  return signs[occurrence];
}

std::string_view NameOfSign(int sign) { return ws::SignName(sign + 1); }

}  // namespace

std::optional<DignityMode> DignityModeOf(int mode) {
  if (mode < kFirstDignityMode || mode > kLastDignityMode) return std::nullopt;
  const int index = mode - kFirstDignityMode;
  return DignityMode{kModeKinds[index / kSignsPerMode], index % kSignsPerMode};
}

std::optional<int> DignityModeFor(ChainKind kind, int occurrence) {
  if (occurrence < 0 || occurrence >= kSignsPerMode) return std::nullopt;
  for (std::size_t i = 0; i < kModeKinds.size(); ++i) {
    if (kModeKinds[i] == kind) return kFirstDignityMode + static_cast<int>(i) * kSignsPerMode + occurrence;
  }
  return std::nullopt;
}

std::string_view DignityCaption(int mode) {
  if (mode < kFirstDignityMode || mode > kLastDignityMode) return {};
  return kModeCaptions[(mode - kFirstDignityMode) / kSignsPerMode];
}

std::vector<int> SignsOfObject(const ws::DignityTable& table, int object) {
  std::vector<int> signs;
  if (!IsChainObject(object)) return signs;
  for (int sign = 0; sign < ws::kSignCount; ++sign) {
    if (table[sign][object - 1] == 1) signs.push_back(sign);
  }
  return signs;
}

std::vector<std::string_view> SignChoices() {
  std::vector<std::string_view> names;
  for (int sign = 0; sign < ws::kSignCount; ++sign) names.push_back(NameOfSign(sign));
  return names;
}

DignityEdit::DignityEdit(const ws::DignityTables& tables, int object, int mode, DignityMode what)
    : tables_(tables),
      object_(object),
      mode_(mode),
      kind_(what.kind),
      edited_(NthSign(TableOfKind(tables, what.kind), object, what.occurrence)),
      chosen_(edited_) {}

std::optional<DignityEdit> DignityEdit::Open(const ws::DignityTables& tables, int object, int mode) {
  const std::optional<DignityMode> what = DignityModeOf(mode);
  if (!what || !IsChainObject(object)) return std::nullopt;
  return DignityEdit(tables, object, mode, *what);
}

std::string_view DignityEdit::objectName() const { return ws::SlotName(object_); }

bool DignityEdit::ChooseSign(int sign) {
  if (!IsSign(sign)) return false;
  chosen_ = sign;
  return true;
}

ws::DignityTables DignityEdit::Result() const {
  ws::DignityTables result = tables_;
  if (!changed()) return result;
  ws::DignityTable& table = TableToEdit(result, kind_);
  if (edited_) table[*edited_][object_ - 1] = 0;
  table[*chosen_][object_ - 1] = 1;
  return result;
}

}  // namespace kelvara::interpretation
