#include "app/qt/place_picker.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include "app/qt/message_boxes.h"
#include "app/qt/places_progress.h"
#include "app/qt/qt_text.h"
#include "places/place_files.h"

namespace kelvara::app {

// The answers to what is typed: a few hundred places at most, never the whole list.
class PlaceAnswersModel : public QAbstractListModel {
 public:
  static constexpr int kPlaceIndexRole = Qt::UserRole + 1;

  PlaceAnswersModel(const places::PlacesList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

  void Show(std::vector<std::size_t> answers) {
    beginResetModel();
    answers_ = std::move(answers);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(answers_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount({})) return {};
    const std::size_t place = answers_[index.row()];
    if (role == Qt::DisplayRole || role == Qt::EditRole) return ToQt(list_.places[place].name);
    if (role == kPlaceIndexRole) return QVariant::fromValue<qulonglong>(place);
    return {};
  }

 private:
  const places::PlacesList& list_;
  std::vector<std::size_t> answers_;
};

namespace {

constexpr const char* kImportTip = "Загрузить места из файла…";
constexpr const char* kExportTip = "Сохранить места в файл…";
constexpr const char* kPlaceFileFilter = "Места (*.txt *.TXT);;Все файлы (*)";
constexpr int kVisibleAnswers = 12;

// The combo's own drop-down would list its own items; this one shows the answers.
class PlaceCombo : public QComboBox {
 public:
  PlaceCombo(std::function<void()> showAnswers, QWidget* parent)
      : QComboBox(parent), showAnswers_(std::move(showAnswers)) {}
  void showPopup() override { showAnswers_(); }

 private:
  std::function<void()> showAnswers_;
};

QString ChooseWithFileDialog(PlacePicker::FileChoice choice, QWidget* parent) {
  if (choice == PlacePicker::FileChoice::kImport) {
    return QFileDialog::getOpenFileName(parent, QString::fromUtf8(kImportTip), {}, QString::fromUtf8(kPlaceFileFilter));
  }
  return QFileDialog::getSaveFileName(parent, QString::fromUtf8(kExportTip), {}, QString::fromUtf8(kPlaceFileFilter));
}

QToolButton* MakeFileButton(const char* objectName, const char* tip, QStyle::StandardPixmap icon, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(objectName);
  button->setToolTip(QString::fromUtf8(tip));
  button->setAccessibleName(QString::fromUtf8(tip));
  button->setIcon(parent->style()->standardIcon(icon));
  return button;
}

std::filesystem::path PathOf(const QString& file) { return std::filesystem::path(QFile::encodeName(file).toStdString()); }

}  // namespace

PlacePicker::PlacePicker(places::PlacesList& list, const places::CityBase& base, QWidget* parent)
    : QWidget(parent),
      list_(list),
      base_(base),
      search_(list),
      combo_(new PlaceCombo([this] { showAnswers(); }, this)),
      import_(MakeFileButton("importPlaces", kImportTip, QStyle::SP_DialogOpenButton, this)),
      export_(MakeFileButton("exportPlaces", kExportTip, QStyle::SP_DialogSaveButton, this)),
      answers_(new PlaceAnswersModel(list, this)),
      completer_(new QCompleter(answers_, this)),
      progressDelayMs_(PlacesProgressWindow::kDefaultShowAfterMs),
      chooseFile_(ChooseWithFileDialog) {
  combo_->setObjectName("placeCombo");
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  // Unfiltered: the answers are already the search's, in its order.
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setMaxVisibleItems(kVisibleAnswers);
  combo_->lineEdit()->setCompleter(completer_);
  setFocusProxy(combo_);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(combo_, 1);
  row->addWidget(import_);
  row->addWidget(export_);

  connect(combo_->lineEdit(), &QLineEdit::textEdited, this, &PlacePicker::Search);
  connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this, &PlacePicker::Pick);
  connect(import_, &QToolButton::clicked, this, &PlacePicker::ImportPlaces);
  connect(export_, &QToolButton::clicked, this, &PlacePicker::ExportPlaces);
}

PlacePicker::~PlacePicker() = default;

QString PlacePicker::text() const { return combo_->currentText(); }

void PlacePicker::setText(const QString& text) {
  combo_->setEditText(text);
  chosen_.reset();
}

const places::PlaceRecord* PlacePicker::chosenPlace() const {
  return chosen_ && *chosen_ < list_.places.size() ? &list_.places[*chosen_] : nullptr;
}

void PlacePicker::showAnswers() {
  Search(text());
  if (answers_->rowCount({}) > 0) completer_->complete();
}

void PlacePicker::EnsurePlaces() {
  if (list_.loaded) return;
  // The list must be whole once it counts as built: this work cannot be interrupted.
  PlacesProgressWindow progress(places::PlacesWork::kLoading, progressDelayMs_, false, window());
  places::BuildPlacesList(base_, list_, progress.Callback());
}

void PlacePicker::Search(const QString& typed) {
  chosen_.reset();
  EnsurePlaces();
  answers_->Show(search_.Find(FromQt(typed)));
}

void PlacePicker::Pick(const QModelIndex& index) {
  if (!index.isValid()) return;
  chosen_ = index.data(PlaceAnswersModel::kPlaceIndexRole).toULongLong();
  const QString name = ToQt(list_.places[*chosen_].name);
  combo_->setEditText(name);
  emit placeChosen(name);
}

void PlacePicker::ImportPlaces() {
  const QString file = chooseFile_(FileChoice::kImport, this);
  if (file.isEmpty()) return;
  EnsurePlaces();
  PlacesProgressWindow progress(places::PlacesWork::kLoading, progressDelayMs_, true, window());
  const places::PlaceFileUi ui{progress.Callback(), [&](const std::string& question) {
                                 return AskOkCancel(progress.isVisible() ? &progress : window(), question);
                               }};
  const places::PlaceFileResult result = places::LoadPlaces(PathOf(file), list_, ui);
  progress.hide();
  if (!result.message.empty()) ShowMessage(window(), result.message);
}

void PlacePicker::ExportPlaces() {
  const QString file = chooseFile_(FileChoice::kExport, this);
  if (file.isEmpty()) return;
  EnsurePlaces();
  PlacesProgressWindow progress(places::PlacesWork::kSaving, progressDelayMs_, true, window());
  const places::PlaceFileResult result = places::SavePlaces(PathOf(file), list_, {progress.Callback(), {}});
  progress.hide();
  if (!result.message.empty()) ShowMessage(window(), result.message);
}

}  // namespace kelvara::app
