// What the calendars' windows ask of the program around them: message boxes, file
// dialogs and the place fields. The program hands in its own; tests answer in their place.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "workspace/birth_data.h"
#include "workspace/coordinate_fields.h"

namespace kelvara::calendars {

inline QString ToQt(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

struct CalendarUi {
  // Shows a message in a box over the window.
  using Tell = std::function<void(const std::string& text)>;
  // (save, the kind's filter as the files name it: "Лунный календарь (*.MOO)|*.moo||",
  // the window asking) -> the file; none after Cancel.
  using FileChooser =
      std::function<std::optional<std::filesystem::path>(bool save, std::string_view filter, QWidget* parent)>;

  Tell tell;
  FileChooser chooseFile;
};

// The filter as a file dialog takes it: "Лунный календарь (*.MOO *.moo)".
QString FileDialogFilter(std::string_view filter);
// ".moo": the extension of the filter's pattern.
std::string FilterExtension(std::string_view filter);
// The platform's file dialogs; a name saved without the kind's extension gets it.
std::optional<std::filesystem::path> ChooseCalendarFile(bool save, std::string_view filter, QWidget* parent);

// The place part of the calendar dialog: a place pick and its latitude and longitude as
// the program's place dialogs enter them (choosing a place fills the coordinates).
class CalendarPlaceFields : public QWidget {
 public:
  using QWidget::QWidget;

  virtual void ShowPlace(const std::string& name, double latitudeDeg, double longitudeDeg) = 0;
  virtual std::string PlaceName() const = 0;
  // The values shown, exact until the user edits them.
  virtual double LatitudeDeg() const = 0;
  virtual double LongitudeDeg() const = 0;
  // What the fields say, for the checks.
  virtual workspace::AngleFields LatitudeFields() const = 0;
  virtual workspace::AngleFields LongitudeFields() const = 0;
  // The widget that takes the focus for a coordinate field a check names.
  virtual QWidget* FieldWidget(workspace::BirthField field) const = 0;
};

}  // namespace kelvara::calendars
