// A user who answers no to every question and cancels every dialog; the messages shown
// are kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"

namespace kelvara::app::testing {

class SilentUi : public ViewUi {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view) override { return false; }
  bool EditBirthData(workspace::ChartRecord&, bool) override { return false; }
  std::optional<workspace::CompositeOptions> EditCompositeOptions() override { return std::nullopt; }
  std::optional<std::string> ChooseDocumentToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseDocumentToSave(const std::string&) override { return std::nullopt; }
  std::optional<std::string> ChooseWallpaperFile() override { return std::nullopt; }

  std::vector<std::string> messages;
};

}  // namespace kelvara::app::testing
