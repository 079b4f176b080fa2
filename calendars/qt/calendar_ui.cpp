#include "calendars/qt/calendar_ui.h"

#include <QFileDialog>

namespace kelvara::calendars {
namespace {

// "Caption (*.X)|*.x||": the caption and the pattern.
std::pair<std::string_view, std::string_view> FilterParts(std::string_view filter) {
  const std::size_t bar = filter.find('|');
  if (bar == std::string_view::npos) return {filter, {}};
  std::string_view pattern = filter.substr(bar + 1);
  pattern = pattern.substr(0, pattern.find('|'));
  return {filter.substr(0, bar), pattern};
}

}  // namespace

QString FileDialogFilter(std::string_view filter) {
  const auto [caption, pattern] = FilterParts(filter);
  QString text = ToQt(caption);
  // The handheld matched names without regard to case; here both spellings are offered.
  if (!pattern.empty() && text.endsWith(')')) {
    text.chop(1);
    text += ' ' + ToQt(pattern) + ')';
  }
  return text;
}

std::string FilterExtension(std::string_view filter) {
  const std::string_view pattern = FilterParts(filter).second;
  const std::size_t dot = pattern.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(pattern.substr(dot));
}

std::optional<std::filesystem::path> ChooseCalendarFile(bool save, std::string_view filter, QWidget* parent) {
  const QString filters = FileDialogFilter(filter);
  QString file = save ? QFileDialog::getSaveFileName(parent, {}, {}, filters)
                      : QFileDialog::getOpenFileName(parent, {}, {}, filters);
  if (file.isEmpty()) return std::nullopt;
  const QString extension = ToQt(FilterExtension(filter));
  if (save && !extension.isEmpty() && !file.endsWith(extension, Qt::CaseInsensitive)) file += extension;
  return std::filesystem::path(FromQt(file));
}

}  // namespace kelvara::calendars
