// The rules for combining charts, as plain functions: what to ask or show, and what to
// do on the answer. The main window shows the questions as yes/no boxes and goes on
// only with yes.
#pragma once

#include <optional>
#include <string_view>

#include "workspace/chart_compute.h"
#include "workspace/workspace_state.h"

namespace kelvara::workspace {

inline constexpr std::string_view kAskDropMergedCharts =
    "Сменить исходные данные можно только для одной (основной) карты.\nОтключить дополнительные карты и продолжить?";
inline constexpr std::string_view kAskDropMergedChart =
    "Сменить исходные данные можно только для одной (основной) карты.\nОтключить дополнительную карту и продолжить?";
inline constexpr std::string_view kAskDropSecondChart =
    "Сменить исходные данные можно только для одной (основной) карты.\nОтключить вторую карту и продолжить?";
inline constexpr std::string_view kAskNowOverMergedChart =
    "Только \"Сейчас\" можно построить в качестве второй карты для средних и композитных карт.\nПродолжить?";
// With a Latin "C", as the program has always shown it.
inline constexpr std::string_view kMidpointNotSaved = "Cредние карты не сохраняются.";
inline constexpr std::string_view kCompositeNotSaved = "Композитные карты не сохраняются.";
inline constexpr std::string_view kDoubleNotSaved = "Двойные карты не сохраняются.";
inline constexpr std::string_view kNoDoubleWithMerged =
    "Нельзя строить двойные карты с участием средних и композитных карт.";

// "Сменить исх.данные": the question to ask first, if any. On yes (or with no question)
// ApplyChangeSourceData makes the main chart the only one; the dialog then opens on it.
std::optional<std::string_view> ChangeSourceDataQuestion(const WorkspaceState& state);
void ApplyChangeSourceData(WorkspaceState& state);
// After the dialog's OK: computes the main chart; a "Сейчас" chart's place becomes the now place.
ComputeResult FinishChangeSourceData(WorkspaceState& state, const ComputeContext& context);

// Setting up the second chart over a midpoint or composite main chart asks first; on yes
// the second chart becomes a "Сейчас" chart.
std::optional<std::string_view> SecondChartQuestion(const WorkspaceState& state);
void AcceptNowAsSecondChart(WorkspaceState& state);

// Saving and opening documents: the message that refuses them, if any.
std::optional<std::string_view> SaveRefusal(const WorkspaceState& state);
std::optional<std::string_view> OpenRefusal(const WorkspaceState& state);

// "Ввести новые данные": the chart the dialog edits, prepared as the rule says (a main
// chart with a name makes the dialog start with the present moment, the now place and
// the name "Сейчас").
ChartRecord& PrepareNewData(WorkspaceState& state, const platform::Clock& clock,
                            const TimeZoneSource* zones);

// Double-chart mode: off keeps the second chart's name and path aside (and shows the
// second chart no more by itself); on restores them and computes the second chart.
void SwitchDoubleChartOff(WorkspaceState& state);
ComputeResult SwitchDoubleChartOn(WorkspaceState& state, const ComputeContext& context);

// A double tap freezes running "now" charts ("Останов") or releases frozen ones.
void ToggleNowFreeze(WorkspaceState& state);

}  // namespace kelvara::workspace
