#include "platform/qt/grid_ctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <set>

#include "platform/file_io.h"
#include "platform/qt/laid_text_cache.h"
#include "platform/qt/pen_style_picker.h"

namespace kelvara::platform {
namespace {

constexpr int kMarkWidth = 3;  // pixels; the bar lies in the cell's left margin
constexpr QColor kMarkColour(200, 0, 0);
constexpr int kGridLine = 1;   // pixels
constexpr int kEveryRow = -1;  // the header's precision that measures all rows

constexpr const char* kCsvFilter = "CSV (*.csv)";
constexpr const char* kCsvExtension = ".csv";

bool IsEnter(const QKeyEvent& event) { return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter; }

QString ToQt(const char* text) { return QString::fromUtf8(text); }

// Through the sink when one is set, else in a warning box captioned as the window.
void Tell(const std::function<void(const std::string&)>& sink, QWidget* grid, const QString& text) {
  if (sink) {
    sink(text.toStdString());
  } else {
    QMessageBox::warning(grid, grid->window()->windowTitle(), text);
  }
}

// Paints the cells and their row marks; offers the names of a style or choice cell in a
// drop-down list.
class GridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  // The text starts `indent` pixels in, after a picture of the value.
  void PaintPlainText(QPainter* painter, const QStyleOptionViewItem& cell, int indent = 0) const;
  void PaintEditCell(QPainter* painter, QStyleOptionViewItem& cell, const EditCell& value) const;

  // Each text laid out once: when the columns are fitted to it, and drawn from then on.
  mutable LaidTextCache texts_;
};

// A check box (or an icon) is left to the style.
bool IsPlainText(const QStyleOptionViewItem& cell) {
  return !(cell.features & (QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration));
}

QStyle* StyleOf(const QStyleOptionViewItem& cell) { return cell.widget ? cell.widget->style() : QApplication::style(); }

int TextMargin(const QStyleOptionViewItem& cell) {
  return StyleOf(cell)->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
}

const EditCell* EditCellOf(const QModelIndex& index) {
  const auto* items = qobject_cast<const GridItemModel*>(index.model());
  return items ? items->EditCellAt(index) : nullptr;
}

const EditCell* NamedCell(const QModelIndex& index) {
  const EditCell* cell = EditCellOf(index);
  return cell && (cell->kind == EditKind::kPenStyle || cell->kind == EditKind::kChoice) ? cell : nullptr;
}

// Colour and pen-style cells show a picture of their value.
bool IsPictured(const EditCell* cell) {
  return cell && (cell->kind == EditKind::kColor || cell->kind == EditKind::kPenStyle);
}

Color PenColourOf(const EditCell& cell, const QStyleOptionViewItem& option) {
  if (cell.penColor) return *cell.penColor;
  const QColor text = option.palette.color(QPalette::Text);
  return Color{std::uint8_t(text.red()), std::uint8_t(text.green()), std::uint8_t(text.blue())};
}

// The grid lines are the right and bottom pixels of each cell, filled rather than drawn
// as lines, which the raster engine sets pixel by pixel.
void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const QRect whole = cell.rect;
  cell.rect.adjust(0, 0, -kGridLine, -kGridLine);
  if (const EditCell* value = EditCellOf(index); IsPictured(value)) {
    PaintEditCell(painter, cell, *value);
  } else if (IsPlainText(cell)) {
    PaintPlainText(painter, cell);
  } else {
    QStyledItemDelegate::paint(painter, cell, index);
  }
  if (index.data(GridItemModel::kRowMarkRole).toBool()) {
    painter->fillRect(QRect(cell.rect.left(), cell.rect.top(), kMarkWidth, cell.rect.height()), kMarkColour);
  }
  const QColor grid =
      QColor::fromRgba(QRgb(StyleOf(cell)->styleHint(QStyle::SH_Table_GridLineColor, &cell, cell.widget)));
  painter->fillRect(QRect(whole.right(), whole.top(), kGridLine, whole.height()), grid);
  painter->fillRect(QRect(whole.left(), whole.bottom(), whole.width() - kGridLine, kGridLine), grid);
}

// The grid's models give no fonts or icons, so a cell without a check box is as big as its text.
QSize GridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QSize line(kGridLine, kGridLine);
  if (index.data(Qt::CheckStateRole).isValid()) return QStyledItemDelegate::sizeHint(option, index) + line;
  const int margin = TextMargin(option);
  const QSizeF text = texts_.Get(index.data(Qt::DisplayRole).toString(), option.font).size;
  const EditCell* cell = EditCellOf(index);
  const int picture = IsPictured(cell) ? kPenSampleWidth : 0;
  return QSize(int(std::ceil(text.width())) + 2 * margin + picture, int(std::ceil(text.height())) + 2 * margin) + line;
}

void GridDelegate::PaintEditCell(QPainter* painter, QStyleOptionViewItem& cell, const EditCell& value) const {
  cell.backgroundBrush = Qt::NoBrush;  // the swatch shows the colour
  if (value.kind == EditKind::kColor) {
    PaintPlainText(painter, cell);
    PaintSwatch(*painter, cell.rect, value.color);
    return;
  }
  PaintPlainText(painter, cell, kPenSampleWidth);
  const QRect sample(cell.rect.left(), cell.rect.top(), kPenSampleWidth, cell.rect.height());
  PaintPenSample(*painter, sample, value.index, PenColourOf(value, cell), value.penWidth);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  const EditCell* cell = NamedCell(index);
  if (!cell) return QStyledItemDelegate::createEditor(parent, option, index);
  if (cell->kind == EditKind::kPenStyle) {
    auto* picker = new PenStylePicker(parent);
    picker->SetLine(PenColourOf(*cell, option), cell->penWidth);
    return picker;
  }
  auto* names = new QComboBox(parent);
  for (const std::string& name : cell->Names()) names->addItem(QString::fromStdString(name));
  return names;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (const EditCell* cell = NamedCell(index)) {
    static_cast<QComboBox*>(editor)->setCurrentIndex(cell->index);
  } else {
    QStyledItemDelegate::setEditorData(editor, index);
  }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (NamedCell(index)) {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
  } else {
    QStyledItemDelegate::setModelData(editor, model, index);
  }
}

// Drawn here rather than by the style, which lays every cell's text out as a paragraph
// and so takes most of a refresh: the background or selection, the text (one line that
// fits its column) from its laid-out form, and the focus frame.
void GridDelegate::PaintPlainText(QPainter* painter, const QStyleOptionViewItem& cell, int indent) const {
  const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                                           : QPalette::Inactive;
  const bool selected = cell.state & QStyle::State_Selected;
  if (selected) {
    painter->fillRect(cell.rect, cell.palette.brush(group, QPalette::Highlight));
  } else if (cell.backgroundBrush.style() != Qt::NoBrush) {
    painter->fillRect(cell.rect, cell.backgroundBrush);
  }
  if (!cell.text.isEmpty()) {
    const LaidTextCache::Text& laid = texts_.Get(cell.text, cell.font);
    const QRectF room = QRectF(cell.rect).adjusted(TextMargin(cell) + indent, 0, -TextMargin(cell), 0);
    const qreal left = cell.displayAlignment & Qt::AlignRight ? room.right() - laid.size.width() : room.left();
    const qreal top = std::round(room.top() + (room.height() - laid.size.height()) / 2);
    painter->save();
    if (laid.size.width() > room.width()) painter->setClipRect(room);  // a column the user narrowed
    painter->setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    LaidTextCache::Draw(*painter, QPointF(std::round(left), top), laid);
    painter->restore();
  }
  if (cell.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(cell);
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    focus.backgroundColor = cell.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
    StyleOf(cell)->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, cell.widget);
  }
}

}  // namespace

GridView::GridView(QWidget* parent) : QTableView(parent), items_(new GridItemModel(this)) {
  setModel(items_);
  setItemDelegate(new GridDelegate(this));
  setEditTriggers(NoEditTriggers);  // the grids open their editors themselves
  setWordWrap(false);
  setShowGrid(false);  // the delegate draws it
  setHorizontalScrollMode(ScrollPerPixel);
  verticalHeader()->hide();
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setResizeContentsPrecision(kEveryRow);
  connect(items_, &QAbstractItemModel::modelReset, this, &GridView::FitColumns);
  connect(items_, &QAbstractItemModel::dataChanged, this, &GridView::FitColumns);
}

std::string GridView::SelectedRowsText() const {
  if (!items_->Source()) return {};
  std::set<int> shown;
  for (const QModelIndex& index : selectionModel()->selectedIndexes()) shown.insert(index.row());
  if (shown.empty() && currentIndex().isValid()) shown.insert(currentIndex().row());
  std::vector<int> rows;
  for (const int row : shown) rows.push_back(items_->ModelRow(row));
  return TabSeparatedRows(*items_->Source(), rows);
}

std::string GridView::ToCsv() const {
  return items_->Source() ? GridToCsv(*items_->Source(), items_->Order().ModelRows()) : std::string();
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(QString::fromStdString(SelectedRowsText()));
  } else {
    QTableView::keyPressEvent(event);
  }
}

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns();
}

// The viewport also narrows or widens by itself, when a scroll bar comes or goes.
bool GridView::viewportEvent(QEvent* event) {
  const bool handled = QTableView::viewportEvent(event);
  if (event->type() == QEvent::Resize) FitColumns();
  return handled;
}

// Measuring a header takes a text layout, and the headers seldom change.
int GridView::HeaderHint(int column) {
  QHeaderView* header = horizontalHeader();
  const QString text = items_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  const auto [hint, fresh] = headerHints_.try_emplace({text, header->isSortIndicatorShown()}, 0);
  if (fresh) hint->second = header->sectionSizeHint(column);
  return hint->second;
}

void GridView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) headerHints_.clear();
  QTableView::changeEvent(event);
}

void GridView::FitColumns() {
  if (!items_->Source()) return;
  QHeaderView* header = horizontalHeader();
  std::vector<int> minimums;
  for (int column = 0; column < items_->columnCount(); ++column) {
    minimums.push_back(std::max(sizeHintForColumn(column), HeaderHint(column)));
  }
  const std::vector<double> shares = items_->Source()->ColumnFractions();
  const std::vector<int> widths = ColumnPixelWidths(shares, minimums, viewport()->width());
  for (int column = 0; column < int(widths.size()); ++column) header->resizeSection(column, widths[column]);
}

CALXGridCtrl::CALXGridCtrl(QWidget* parent) : GridView(parent) {
  setSelectionBehavior(SelectRows);
  setSelectionMode(ExtendedSelection);
  horizontalHeader()->setSectionsClickable(true);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CALXGridCtrl::SortBy);
  connect(this, &QAbstractItemView::doubleClicked, this, &CALXGridCtrl::Activate);
}

void CALXGridCtrl::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(*event)) {
    Activate(currentIndex());
  } else {
    GridView::keyPressEvent(event);
  }
}

void CALXGridCtrl::CopySelectedRows() const {
  QApplication::clipboard()->setText(QString::fromStdString(SelectedRowsText()));
}

void CALXGridCtrl::SaveCsvText(std::string_view csv) {
  const std::optional<std::string> file = ChooseCsvFile();
  if (file && !WriteFileAtomically(*file, csv)) {
    Tell(tell_, this, QString::fromStdString(kCannotWriteFile + *file));
  }
}

std::optional<std::string> CALXGridCtrl::ChooseCsvFile() {
  const std::string suggested = window()->windowTitle().toStdString() + kCsvExtension;
  if (chooseFile_) return chooseFile_(suggested, this);
  const QString file =
      QFileDialog::getSaveFileName(this, ToQt(kSaveCsvCaption), QString::fromStdString(suggested), ToQt(kCsvFilter));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

void CALXGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  connect(menu.addAction(ToQt(kCopyCaption)), &QAction::triggered, this, &CALXGridCtrl::CopySelectedRows);
  connect(menu.addAction(ToQt(kSaveCsvCaption)), &QAction::triggered, this, &CALXGridCtrl::SaveCsv);
  menu.exec(event->globalPos());
}

void CALXGridCtrl::Activate(const QModelIndex& index) {
  if (!index.isValid() || !Items()->Source()) return;
  const int row = Items()->ModelRow(index.row());
  Items()->Source()->RowActivated(row);
  emit rowActivated(row);
}

void CALXGridCtrl::SortBy(int column) {
  Items()->SortBy(column);
  const GridRowOrder& order = Items()->Order();
  QHeaderView* header = horizontalHeader();
  header->setSortIndicatorShown(order.SortColumn().has_value());
  if (order.SortColumn()) {
    header->setSortIndicator(*order.SortColumn(), order.Descending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  }
}

CRegGridCtrl::CRegGridCtrl(QWidget* parent) : GridView(parent) {
  setSelectionBehavior(SelectItems);
  setSelectionMode(ExtendedSelection);
  connect(Items(), &GridItemModel::refused, this, &CRegGridCtrl::ShowRefusal);
  connect(this, &QAbstractItemView::doubleClicked, this, &CRegGridCtrl::EditByMouse);
}

void CRegGridCtrl::EditCurrent() {
  const QModelIndex index = currentIndex();
  const EditCell* cell = Items()->EditCellAt(index);
  if (!cell || cell->readOnly) return;
  if (cell->kind == EditKind::kCheck) {
    ToggleCheck(index);
  } else if (cell->kind == EditKind::kColor) {
    ChooseColour(index);
  } else {
    edit(index);
  }
}

// Keys that an open editor passes on (Enter, once it has taken it) are the editor's. Space
// on a check box is the delegate's, as a click on it is.
void CRegGridCtrl::keyPressEvent(QKeyEvent* event) {
  const bool editing = state() == EditingState;
  if (!editing && (event->key() == Qt::Key_F2 || IsEnter(*event))) {
    EditCurrent();
  } else if (!editing && event->matches(QKeySequence::Paste)) {
    PasteAtCurrent();
  } else {
    GridView::keyPressEvent(event);
  }
}

// A check box toggles under the mouse by itself.
void CRegGridCtrl::EditByMouse(const QModelIndex& index) {
  const EditCell* cell = Items()->EditCellAt(index);
  if (!cell || cell->kind == EditKind::kCheck) return;
  setCurrentIndex(index);
  EditCurrent();
}

void CRegGridCtrl::ToggleCheck(const QModelIndex& index) {
  const EditCell* cell = Items()->EditCellAt(index);
  if (cell && !cell->readOnly) Items()->setData(index, cell->checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void CRegGridCtrl::ChooseColour(const QModelIndex& index) {
  const Color current = Items()->EditCellAt(index)->color;
  const std::optional<Color> chosen = chooseColor_ ? chooseColor_(current, this) : AskColour(current, this);
  if (chosen) Items()->SetColor(index, *chosen);
}

void CRegGridCtrl::PasteAtCurrent() {
  const QString block = QApplication::clipboard()->text();
  if (!block.isEmpty()) Items()->Paste(currentIndex(), block.toStdString());
}

void CRegGridCtrl::ShowRefusal(const QString& reason) { Tell(refuse_, this, reason); }

}  // namespace kelvara::platform
