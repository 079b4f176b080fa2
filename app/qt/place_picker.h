// The place pick of the dialogs that ask for a place: an editable combo box whose
// drop-down lists the places of the places list that match what is typed, with the
// import and export of place files beside it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "places/city_base.h"
#include "places/place_search.h"
#include "places/places_list.h"

class QComboBox;
class QCompleter;
class QModelIndex;
class QToolButton;

namespace kelvara::app {

class PlaceAnswersModel;

class PlacePicker : public QWidget {
  Q_OBJECT

 public:
  enum class FileChoice { kImport, kExport };
  // Asks for the file of an import or export; an empty name gives up.
  using FileChooser = std::function<QString(FileChoice choice, QWidget* parent)>;

  // The list is built from the city base the first time the pick needs it.
  PlacePicker(places::PlacesList& list, const places::CityBase& base, QWidget* parent = nullptr);
  ~PlacePicker() override;

  QString text() const;
  void setText(const QString& text);
  QComboBox* comboBox() const { return combo_; }
  QToolButton* importButton() const { return import_; }
  QToolButton* exportButton() const { return export_; }

  // The place picked last; none before a pick and once the text is edited again.
  const places::PlaceRecord* chosenPlace() const;

  // How long the work on the list may run before the progress window shows.
  void setProgressDelay(int milliseconds) { progressDelayMs_ = milliseconds; }
  // In place of the file dialogs.
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

  // Shows the places that match the text in the drop-down.
  void showAnswers();

 signals:
  void placeChosen(const QString& name);

 private:
  void EnsurePlaces();
  void Search(const QString& typed);
  void Pick(const QModelIndex& index);
  void ImportPlaces();
  void ExportPlaces();

  places::PlacesList& list_;
  const places::CityBase& base_;
  places::PlaceSearch search_;
  QComboBox* combo_;
  QToolButton* import_;
  QToolButton* export_;
  PlaceAnswersModel* answers_;
  QCompleter* completer_;
  std::optional<std::size_t> chosen_;
  int progressDelayMs_;
  FileChooser chooseFile_;
};

}  // namespace kelvara::app
