#include "app/settings_pages.h"

#include <algorithm>

#include "app/step_shift.h"
#include "app/stored_file.h"
#include "platform/glyph.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
namespace in = interpretation;
using platform::EditCell;

constexpr const char* kNoSigns = "нет";
constexpr const char* kSignSeparator = ", ";
constexpr int kAspectFileCount = 2;

// The wheel's order: what is drawn first, then what the event map moves and aspects.
const std::vector<bool ObjectSetting::*> kWheelOrder = {&ObjectSetting::visible, &ObjectSetting::takesPartInAspects,
                                                        &ObjectSetting::usedAsMoving, &ObjectSetting::usedAsAspected};
const std::vector<bool ObjectSetting::*> kEventMapOrder = {&ObjectSetting::usedAsMoving, &ObjectSetting::usedAsAspected,
                                                           &ObjectSetting::visible, &ObjectSetting::takesPartInAspects};

std::string_view FlagHeader(bool ObjectSetting::*flag) {
  if (flag == &ObjectSetting::visible) return "Показ";
  if (flag == &ObjectSetting::takesPartInAspects) return "Аспекты";
  if (flag == &ObjectSetting::usedAsMoving) return "Движущаяся";
  return "Аспектируемая";
}

std::vector<std::string> PlanetsHeaders(const std::vector<bool ObjectSetting::*>& flags) {
  std::vector<std::string> headers = {"", "Объект"};
  for (auto flag : flags) headers.emplace_back(FlagHeader(flag));
  headers.emplace_back("Цвет");
  return headers;
}

constexpr int kPlanetsLeadColumns = 2;  // glyph, name
// Shares of the width: glyph, name, each flag, colour.
// They leave room for the vertical scroll bar.
constexpr double kGlyphShare = 0.06, kNameShare = 0.2, kFlagShare = 0.14, kColourShare = 0.14;
constexpr double kRulersNameShare = 0.16, kDignityShare = 0.21;
constexpr double kViewLabelShare = 0.6, kViewValueShare = 0.4;

std::vector<double> PlanetsFractions() {
  std::vector<double> fractions = {kGlyphShare, kNameShare};
  fractions.insert(fractions.end(), kWheelOrder.size(), kFlagShare);
  fractions.push_back(kColourShare);
  return fractions;
}

std::filesystem::path AspectPath(const std::string& prefix, int table) {
  return prefix + std::string(table == 0 ? kAspectTable1File : kAspectTable2File);
}

AspectTable& AspectTableOf(AspectTables& tables, int table) { return table == 0 ? tables.single : tables.between; }

AspectTable DefaultAspectTable(int table) {
  return table == 0 ? DefaultSingleChartAspects() : DefaultTwoChartAspects();
}

// A damaged file gives the defaults and its message; a sound or missing one leaves `value`.
template <typename T>
bool CheckDamaged(const std::filesystem::path& path, std::optional<T> (*decode)(std::string_view, std::string&),
                  T& value, const T& defaults, std::vector<std::string>& messages) {
  std::string message;
  if (LoadStoredFile(path, decode, message) || message.empty()) return false;
  value = defaults;
  messages.push_back(std::move(message));
  return true;
}

std::string SignsText(const DignityTable& table, int object) {
  const std::vector<int> signs = in::SignsOfObject(table, object);
  if (signs.empty()) return kNoSigns;
  std::string text;
  for (int sign : signs) {
    if (!text.empty()) text += kSignSeparator;
    text += std::string(ws::SignName(sign + 1));
  }
  return text;
}

void RecordWrite(std::optional<std::string> failure, std::vector<std::string>& messages, bool& written) {
  written = !failure;
  if (failure) messages.push_back(std::move(*failure));
}

// Each table's file when it changed; the session takes the tables written.
void SaveAspects(SettingsDraft& draft, Session& session, std::vector<std::string>& messages) {
  for (int table = 0; table < kAspectFileCount; ++table) {
    const AspectTable& edited = AspectTableOf(draft.aspectTables, table);
    AspectTable& used = AspectTableOf(session.aspectTables, table);
    if (edited == used && !draft.aspectFileDamaged[table]) continue;
    bool written = false;
    RecordWrite(WriteStoredFile(AspectPath(session.dataPrefix, table), EncodeAspectTable(edited)), messages, written);
    if (!written) continue;
    used = edited;
    draft.aspectFileDamaged[table] = false;
  }
}

bool SaveObjects(SettingsDraft& draft, Session& session, std::vector<std::string>& messages) {
  bool changed = false;
  for (int chart : {kFirstChart, kSecondChart}) {
    ChartObjectSettings& used = chart == kFirstChart ? session.objectSettingsMain : session.objectSettingsSecond;
    const ChartObjectSettings& edited = draft.ObjectsOf(chart);
    if (edited == used && !draft.objectFileDamaged[chart - 1]) continue;
    bool written = false;
    RecordWrite(SaveObjectSettings(session.dataPrefix, chart, edited), messages, written);
    if (!written) continue;
    changed |= edited != used;
    used = edited;
    draft.objectFileDamaged[chart - 1] = false;
  }
  return changed;
}

// Restored defaults remove the file, as one file serves both traditions and each has
// defaults of its own.
bool SaveDignities(SettingsDraft& draft, Session& session, std::vector<std::string>& messages) {
  const bool removing = draft.dignityFileUnwanted && draft.dignityTables == DefaultDignityTables(draft.tradition);
  if (!removing && draft.dignityTables == session.dignityTables && !draft.dignityFileDamaged) return false;
  bool written = false;
  RecordWrite(removing ? RemoveDignityTables(session.dataPrefix)
                       : SaveDignityTables(session.dataPrefix, draft.dignityTables),
              messages, written);
  if (!written) return false;
  draft.dignityFileDamaged = draft.dignityFileUnwanted = false;
  const bool changed = draft.dignityTables != session.dignityTables;
  AdoptEditedDignityTables(session, draft.dignityTables);
  return changed;
}

// The values of the view page that no command sets.
void TakeViewValues(const Settings& draft, Settings& settings) {
  settings.viewBackColor = draft.viewBackColor;
  settings.signBandColor = draft.signBandColor;
  settings.mapBackColor = draft.mapBackColor;
  settings.mapSteps = draft.mapSteps;
}

}  // namespace

ChartObjectSettings& SettingsDraft::ObjectsOf(int chart) { return chart == kSecondChart ? objectsSecond : objectsMain; }

DraftOpening OpenDraft(const Session& session) {
  DraftOpening opening;
  SettingsDraft& draft = opening.draft;
  draft.settings = session.settings;
  draft.aspectTables = session.aspectTables;
  draft.objectsMain = session.objectSettingsMain;
  draft.objectsSecond = session.objectSettingsSecond;
  draft.dignityTables = session.dignityTables;
  draft.tradition = CurrentTradition(session.settings);
  const std::string& prefix = session.dataPrefix;
  for (int table = 0; table < kAspectFileCount; ++table) {
    draft.aspectFileDamaged[table] = CheckDamaged(AspectPath(prefix, table), DecodeAspectTable,
                                                  AspectTableOf(draft.aspectTables, table),
                                                  DefaultAspectTable(table), opening.messages);
  }
  for (int chart : {kFirstChart, kSecondChart}) {
    draft.objectFileDamaged[chart - 1] = CheckDamaged(std::filesystem::path(ObjectSettingsPath(prefix, chart)),
                                                      DecodeObjectSettings, draft.ObjectsOf(chart),
                                                      ChartObjectSettings{}, opening.messages);
  }
  draft.dignityFileDamaged = CheckDamaged(std::filesystem::path(prefix + std::string(kDignityFile)),
                                          DecodeDignityTables, draft.dignityTables,
                                          DefaultDignityTables(draft.tradition), opening.messages);
  return opening;
}

bool PageOffered(SettingsPage page, const Session& session) {
  return page != SettingsPage::kPlanets2 || SecondChartShown(session);
}

PlanetsPage::PlanetsPage(ObjectSettings& settings, bool eventMapOrder)
    : settings_(&settings),
      flagColumns_(eventMapOrder ? kEventMapOrder : kWheelOrder),
      grid_(PlanetsHeaders(flagColumns_), PlanetsFractions()) {
  Show(settings);
}

int PlanetsPage::SlotOfRow(int row) { return ws::kFirstSlot + row; }

int PlanetsPage::ColumnOf(bool ObjectSetting::*flag) const {
  const auto found = std::find(flagColumns_.begin(), flagColumns_.end(), flag);
  return kPlanetsLeadColumns + int(found - flagColumns_.begin());
}

int PlanetsPage::ColourColumn() const { return kPlanetsLeadColumns + int(flagColumns_.size()); }

void PlanetsPage::Show(ObjectSettings& settings) {
  settings_ = &settings;
  std::vector<std::vector<EditCell>> rows;
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
    const ObjectSetting& setting = settings[slot];
    std::vector<EditCell> row = {EditCell::Label(platform::GlyphText(platform::SlotGlyphCode(slot))),
                                 EditCell::Label(std::string(ws::SlotName(slot)))};
    for (auto flag : flagColumns_) row.push_back(EditCell::Check(setting.*flag));
    row.push_back(EditCell::Colour(setting.colour));
    rows.push_back(std::move(row));
  }
  grid_.SetRows(std::move(rows));
}

void PlanetsPage::TakeEdits() {
  for (int row = 0; row < grid_.RowCount(); ++row) {
    ObjectSetting& setting = (*settings_)[SlotOfRow(row)];
    for (std::size_t i = 0; i < flagColumns_.size(); ++i) {
      setting.*flagColumns_[i] = grid_.At(row, kPlanetsLeadColumns + int(i)).checked;
    }
    setting.colour = grid_.At(row, ColourColumn()).color;
  }
}

RulersPage::RulersPage(SettingsDraft& draft)
    : draft_(draft),
      grid_({"Объект", "Управление", "Экзальтация", "Изгнание", "Падение"}, {kRulersNameShare, kDignityShare, kDignityShare, kDignityShare, kDignityShare}) {
  Show();
}

std::optional<in::DignityEdit> RulersPage::OpenCell(int row, int column, int occurrence) const {
  if (column < 1 || column > int(in::kDignityKinds.size())) return std::nullopt;
  const std::optional<int> mode = in::DignityModeFor(in::kDignityKinds[column - 1], occurrence);
  if (!mode) return std::nullopt;
  return in::DignityEdit::Open(draft_.dignityTables, row + in::kFirstChainObject, *mode);
}

void RulersPage::Apply(const in::DignityEdit& edit) {
  draft_.dignityTables = edit.Result();
  Show();
}

void RulersPage::RestoreDefaults() {
  draft_.dignityTables = DefaultDignityTables(draft_.tradition);
  draft_.dignityFileUnwanted = true;
  Show();
}

void RulersPage::Show() {
  std::vector<std::vector<EditCell>> rows;
  const DignityTables& tables = draft_.dignityTables;
  for (int object = in::kFirstChainObject; object <= in::kLastChainObject; ++object) {
    std::vector<EditCell> row = {EditCell::Label(std::string(ws::SlotName(object)))};
    for (const DignityTable* table : {&tables.rulership, &tables.exaltation, &tables.exile, &tables.fall}) {
      row.push_back(EditCell::Label(SignsText(*table, object)));
    }
    rows.push_back(std::move(row));
  }
  grid_.SetRows(std::move(rows));
}

const std::vector<ViewSwitch>& ViewSwitches() {
  static const std::vector<ViewSwitch> kSwitches = {
      {CommandId::kAvestan, CommandId::kWestern, &Settings::avesta},
      {CommandId::kFromAries, CommandId::kFromAscendant, &Settings::fromAries},
      {CommandId::kClockOfToday, CommandId::kClockOfToday, &Settings::clock},
      {CommandId::kStepShift, CommandId::kStepShift, &Settings::stepShift},
      {CommandId::kSortAlongZodiac, CommandId::kSortStaggered, &Settings::sortAlongZodiac},
      {CommandId::kApplyingAspects, CommandId::kApplyingAspects, &Settings::applyingShown},
      {CommandId::kSeparatingAspects, CommandId::kSeparatingAspects, &Settings::separatingShown},
      {CommandId::kPlanetDegrees, CommandId::kPlanetDegrees, &Settings::degreesShown},
      {CommandId::kTapShowsAspects, CommandId::kTapShowsAspects, &Settings::tapShowsAspects},
      {CommandId::kIChing, CommandId::kIChing, &Settings::iChing},
      {CommandId::kTime12Hour, CommandId::kTime24Hour, &Settings::twelveHourClock},
      {CommandId::kShowWallpaper, CommandId::kShowWallpaper, &Settings::wallpaperShown},
  };
  return kSwitches;
}

std::string_view ViewSwitchCaption(const ViewSwitch& entry) { return CommandCaption(entry.whenOn); }

namespace {

constexpr int kViewValueColumn = 1;
enum ViewRow { kViewBackRow, kSignBandRow, kMapBackRow, kMapStepsRow };

std::vector<std::string> StepsChoices() {
  std::vector<std::string> choices;
  for (int steps : kStepsPerDay) choices.push_back(std::to_string(steps));
  return choices;
}

}  // namespace

ViewPage::ViewPage(SettingsDraft& draft, const Settings& current)
    : draft_(draft), grid_({"Что", "Значение"}, {kViewLabelShare, kViewValueShare}) {
  for (const ViewSwitch& entry : ViewSwitches()) wanted_.push_back(current.*entry.member);
  const Settings& s = draft.settings;
  const int steps = std::clamp(s.mapSteps, 0, int(kStepsPerDay.size()) - 1);
  grid_.SetRows({{EditCell::Label("Фон гороскопа"), EditCell::Colour(s.viewBackColor)},
                 {EditCell::Label("Полоса знаков"), EditCell::Colour(s.signBandColor)},
                 {EditCell::Label("Фон карты событий"), EditCell::Colour(s.mapBackColor)},
                 {EditCell::Label("Шагов в сутки (карта событий)"), EditCell::Choice(StepsChoices(), steps)}});
}

void ViewPage::TakeEdits() {
  Settings& s = draft_.settings;
  s.viewBackColor = grid_.At(kViewBackRow, kViewValueColumn).color;
  s.signBandColor = grid_.At(kSignBandRow, kViewValueColumn).color;
  s.mapBackColor = grid_.At(kMapBackRow, kViewValueColumn).color;
  s.mapSteps = grid_.At(kMapStepsRow, kViewValueColumn).index;
}

std::vector<CommandId> ViewPage::CommandsFor(const Settings& current) const {
  std::vector<CommandId> commands;
  const std::vector<ViewSwitch>& switches = ViewSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) {
    if (current.*switches[i].member == wanted_[i]) continue;
    commands.push_back(wanted_[i] ? switches[i].whenOn : switches[i].whenOff);
  }
  return commands;
}

std::vector<std::string> ApplyDraft(SettingsDraft& draft, const std::vector<CommandId>& switches,
                                    CommandContext& context, platform::Profile* profile) {
  Session& session = context.session;
  const Settings before = session.settings;
  for (CommandId command : switches) Dispatch(command, 0, context);
  std::vector<std::string> messages;
  if (context.nowClock) context.nowClock->Stop();
  SaveAspects(draft, session, messages);
  const bool objectsChanged = SaveObjects(draft, session, messages);
  const bool dignitiesChanged = SaveDignities(draft, session, messages);
  TakeViewValues(draft.settings, session.settings);
  if (objectsChanged || dignitiesChanged) ApplyTraditionFlags(session);
  ComputeShownCharts(context);
  ApplyObjectSettingsToCharts(session);
  if (context.nowClock) context.nowClock->Resume();
  if (profile && session.settings != before && !SaveSettings(*profile, session.settings)) {
    messages.emplace_back(kSettingsNotWritten);
  }
  // A switch may have changed what the draft holds (the tradition's flags, the
  // stellium's places); the draft follows so that "Применить" again writes nothing.
  draft.settings = session.settings;
  draft.tradition = CurrentTradition(session.settings);
  return messages;
}

}  // namespace kelvara::app
