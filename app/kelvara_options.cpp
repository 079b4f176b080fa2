#include "app/kelvara_options.h"

#include <charconv>

namespace kelvara::app {
namespace {

constexpr int kSmallestSide = 120;
constexpr int kLargestSide = 8192;

std::optional<DisplayMode> ModeNamed(const std::string& name) {
  if (name == "wheel") return DisplayMode::kWheel;
  if (name == "map") return DisplayMode::kEventMap;
  if (name == "chains") return DisplayMode::kChains;
  return std::nullopt;
}

std::optional<int> Side(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < kSmallestSide || value > kLargestSide) return std::nullopt;
  return value;
}

std::optional<platform::Size> SizeNamed(const std::string& text) {
  const std::size_t cross = text.find('x');
  if (cross == std::string::npos) return std::nullopt;
  const auto width = Side(std::string_view(text).substr(0, cross));
  const auto height = Side(std::string_view(text).substr(cross + 1));
  if (!width || !height) return std::nullopt;
  return platform::Size{*width, *height};
}

ParsedOptions Failure(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedOptions ParseKelvaraOptions(const std::vector<std::string>& args) {
  KelvaraOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--screenshot" || arg == "--mode" || arg == "--size") {
      if (!hasValue) return Failure("Нет значения после " + arg);
      const std::string& value = args[++i];
      if (arg == "--screenshot") {
        options.screenshotFile = value;
      } else if (arg == "--mode") {
        options.mode = ModeNamed(value);
        if (!options.mode) return Failure("Неизвестный режим: " + value);
      } else {
        options.size = SizeNamed(value);
        if (!options.size) return Failure("Неправильный размер: " + value);
      }
    } else if (arg.starts_with("-")) {
      return Failure("Неизвестный ключ: " + arg);
    } else if (options.documentFile.empty()) {
      options.documentFile = arg;
    } else {
      return Failure("Лишний аргумент: " + arg);
    }
  }
  if ((options.mode || options.size) && options.screenshotFile.empty()) {
    return Failure("--mode и --size задаются вместе с --screenshot");
  }
  return {options, ""};
}

void ApplyModeOption(const KelvaraOptions& options, Session& session) {
  if (!options.mode) return;
  session.displayMode = *options.mode;
  SetDisplayMode(session.settings, *options.mode);
  if (*options.mode == DisplayMode::kChains && session.chainKind == ChainKind::kNone) {
    session.chainKind = ChainKind::kRulership;
  }
}

}  // namespace kelvara::app
