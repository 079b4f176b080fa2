#include "workspace/chart_rules.h"

#include "workspace/merged_chart.h"

namespace kelvara::workspace {
namespace {

bool MainIsMerged(const WorkspaceState& state) { return IsMergedName(state.main.name); }

bool AnyNamed(const WorkspaceState& state, std::string_view name) {
  return state.main.name == name || state.second.name == name;
}

}  // namespace

std::optional<std::string_view> ChangeSourceDataQuestion(const WorkspaceState& state) {
  if (MainIsMerged(state)) return state.doubleChart ? kAskDropMergedCharts : kAskDropMergedChart;
  if (state.doubleChart) return kAskDropSecondChart;
  return std::nullopt;
}

void ApplyChangeSourceData(WorkspaceState& state) {
  RestoreSavedCharts(state);  // a merged chart is dropped without computing
  if (state.doubleChart) SwitchDoubleChartOff(state);
}

ComputeResult FinishChangeSourceData(WorkspaceState& state, const ComputeContext& context) {
  ComputeContext own = context;
  own.natal = &state.main;
  const ComputeResult result = ComputeChart(state.main, own);
  if (state.main.name == kNameNow) state.nowPlace = state.main.placeName;
  return result;
}

std::optional<std::string_view> SecondChartQuestion(const WorkspaceState& state) {
  if (MainIsMerged(state)) return kAskNowOverMergedChart;
  return std::nullopt;
}

void AcceptNowAsSecondChart(WorkspaceState& state) { state.second.name = kNameNow; }

std::optional<std::string_view> SaveRefusal(const WorkspaceState& state) {
  if (IsMidpointName(state.main.name)) return kMidpointNotSaved;
  if (IsCompositeName(state.main.name)) return kCompositeNotSaved;
  if (state.doubleChart && !state.main.name.empty()) return kDoubleNotSaved;
  return std::nullopt;
}

std::optional<std::string_view> OpenRefusal(const WorkspaceState& state) {
  if (MainIsMerged(state)) return kNoDoubleWithMerged;
  return std::nullopt;
}

ChartRecord& PrepareNewData(WorkspaceState& state, const platform::Clock& clock,
                            const TimeZoneSource* zones) {
  ChartRecord& chart = state.doubleChart ? state.second : state.main;
  if (!state.main.name.empty()) {
    chart.name = kNameNow;
    chart.placeName = state.nowPlace;
    TakePresentMoment(chart, clock, zones, state.nowPlace);
  }
  return chart;
}

void SwitchDoubleChartOff(WorkspaceState& state) {
  state.secondAlone = false;
  // Off twice must not overwrite what the first switch kept with the cleared name.
  if (!state.doubleChart) return;
  state.keptSecond = {state.second.name, state.second.filePath};
  state.second.name.clear();
  state.second.filePath.clear();
  state.doubleChart = false;
}

ComputeResult SwitchDoubleChartOn(WorkspaceState& state, const ComputeContext& context) {
  state.second.name = state.keptSecond.name;
  state.second.filePath = state.keptSecond.filePath;
  state.doubleChart = true;
  if (state.second.name.empty()) return ComputeResult::kComputed;
  ComputeContext own = context;
  own.natal = &state.main;
  return ComputeChart(state.second, own);
}

void ToggleNowFreeze(WorkspaceState& state) {
  if (AnyNamed(state, kNameStopped)) {
    if (state.main.name == kNameStopped) state.main.name = kNameNow;
    if (state.second.name == kNameStopped) state.second.name = kNameNow;
    return;
  }
  if (IsRunningNowName(state.main.name)) state.main.name = kNameStopped;
  if (state.second.name == kNameNow) state.second.name = kNameStopped;
}

}  // namespace kelvara::workspace
