// The grids of the program's windows: CALXGridCtrl shows result tables (calendars,
// positions, aspect lists), CRegGridCtrl edits the tables of the settings pages. Both
// size their columns from the model's shares of the width, mark rows with a bar in the
// first column and copy the selected rows with Ctrl+C.
#pragma once

#include <QTableView>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/editable_grid_model.h"
#include "platform/grid_model.h"
#include "platform/qt/colour_picker.h"
#include "platform/qt/grid_item_model.h"

namespace kelvara::platform {

// The result grid's menu entries, which windows with buttons of the same kind reuse.
inline constexpr const char* kCopyCaption = "Копировать";
inline constexpr const char* kSaveCsvCaption = "Сохранить как CSV…";

// What the two grids share; not made on its own.
class GridView : public QTableView {
  Q_OBJECT

 public:
  GridItemModel* Items() const { return items_; }
  // The selected rows (or the current one) as Ctrl+C puts them on the clipboard.
  std::string SelectedRowsText() const;
  // The whole table in the order shown.
  std::string ToCsv() const;

 protected:
  explicit GridView(QWidget* parent);

  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FitColumns();
  int HeaderHint(int column);

  GridItemModel* items_;
  std::map<std::pair<QString, bool>, int> headerHints_;  // by text and sort indicator shown
};

// Offers "Копировать" and "Сохранить как CSV…" in its context menu.
class CALXGridCtrl : public GridView {
  Q_OBJECT

 public:
  // (suggested file name, parent) -> the chosen path; none after Cancel.
  using CsvFileChooser = std::function<std::optional<std::string>(const std::string& suggested, QWidget* parent)>;
  // Shows the user a failure.
  using MessageSink = std::function<void(const std::string& text)>;

  explicit CALXGridCtrl(QWidget* parent = nullptr);
  // The model must outlive the grid or be replaced first.
  void SetModel(GridModel* model) { Items()->Show(model); }
  // In place of the file dialog and the message box: the program's own, or a test's.
  void SetCsvFileChooser(CsvFileChooser chooser) { chooseFile_ = std::move(chooser); }
  void SetMessageSink(MessageSink sink) { tell_ = std::move(sink); }

  // The selected rows onto the clipboard, as Ctrl+C puts them.
  void CopySelectedRows() const;
  // The whole table, as ToCsv gives it, into a file the user chooses.
  void SaveCsv() { SaveCsvText(ToCsv()); }
  // Any CSV form of the table into a file the user chooses; the old file stays whole
  // when the writing fails.
  void SaveCsvText(std::string_view csv);

 signals:
  // Enter or a double click; after the model's own RowActivated.
  void rowActivated(int modelRow);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Activate(const QModelIndex& index);
  void SortBy(int column);
  std::optional<std::string> ChooseCsvFile();

  CsvFileChooser chooseFile_;
  MessageSink tell_;
};

class CRegGridCtrl : public GridView {
  Q_OBJECT

 public:
  using ColorChooser = platform::ColorChooser;
  // Tells the user why a value was refused.
  using RefusalSink = std::function<void(const std::string& reason)>;

  explicit CRegGridCtrl(QWidget* parent = nullptr);
  // The model must outlive the grid or be replaced first.
  void SetModel(EditableGridModel* model) { Items()->Show(model); }
  // In place of the colour dialog and the message box, for tests.
  void SetColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }
  void SetRefusalSink(RefusalSink sink) { refuse_ = std::move(sink); }

  // Edits the current cell as F2 and Enter do: an editor, a toggled check, a colour dialog.
  void EditCurrent();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void EditByMouse(const QModelIndex& index);
  void ToggleCheck(const QModelIndex& index);
  void ChooseColour(const QModelIndex& index);
  void PasteAtCurrent();
  void ShowRefusal(const QString& reason);

  ColorChooser chooseColor_;
  RefusalSink refuse_;
};

}  // namespace kelvara::platform
