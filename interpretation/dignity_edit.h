// Editing the dignity tables: one object's sign in one table (the edit dialog, modes 1-8)
// and the overview of all four tables with the tradition's defaults to fall back on.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interpretation/dispositor_chains.h"
#include "workspace/dignity_tables.h"

namespace kelvara::interpretation {

inline constexpr int kFirstDignityMode = 1;
inline constexpr int kLastDignityMode = 8;
// An object holds a dignity in one or two signs; each mode edits one of them.
inline constexpr int kSignsPerMode = 2;

// The tables in the order the overview shows them, as the chains menu lists them.
inline constexpr std::array<ChainKind, 4> kDignityKinds = {ChainKind::kRulership, ChainKind::kExaltation,
                                                           ChainKind::kExile, ChainKind::kFall};

// What a mode edits: a table and the object's first (0) or second (1) sign in it.
struct DignityMode {
  ChainKind kind = ChainKind::kRulership;
  int occurrence = 0;
};

std::optional<DignityMode> DignityModeOf(int mode);
// The mode for a table and an occurrence; none for kNone or an occurrence past the second.
std::optional<int> DignityModeFor(ChainKind kind, int occurrence);
// "управляет", "в изгнании", "экзальтирует" or "в падении"; empty outside 1-8.
std::string_view DignityCaption(int mode);

// Signs 0-11 where object 1-16 has the table's dignity, lowest first.
std::vector<int> SignsOfObject(const workspace::DignityTable& table, int object);

// The twelve sign names, Aries first: the choices of the edit dialog's combo box.
std::vector<std::string_view> SignChoices();

// One object's sign in one table. The sign being edited is fixed when the edit opens, so
// choosing again replaces the earlier choice. An object that lacks the sign starts with no
// choice; picking one then gives it that sign. Other objects' cells are never touched,
// so several objects may come to share a sign.
class DignityEdit {
 public:
  // None for an object outside 1-16 or a mode outside 1-8.
  static std::optional<DignityEdit> Open(const workspace::DignityTables& tables, int object, int mode);

  int object() const { return object_; }
  int mode() const { return mode_; }
  std::string_view objectName() const;
  std::string_view caption() const { return DignityCaption(mode_); }
  // The sign the mode edits, as the tables had it; none when the object has no such sign.
  std::optional<int> editedSign() const { return edited_; }
  std::optional<int> chosenSign() const { return chosen_; }
  // False, and nothing chosen, for a sign outside 0-11.
  bool ChooseSign(int sign);
  bool changed() const { return chosen_ != edited_; }
  // The tables with the object's mark moved from the edited sign to the chosen one.
  workspace::DignityTables Result() const;

 private:
  DignityEdit(const workspace::DignityTables& tables, int object, int mode, DignityMode what);

  workspace::DignityTables tables_;
  int object_;
  int mode_;
  ChainKind kind_;
  std::optional<int> edited_;
  std::optional<int> chosen_;
};

}  // namespace kelvara::interpretation
