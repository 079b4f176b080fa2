#include "platform/qt/grid_item_model.h"

#include <QColor>

namespace kelvara::platform {
namespace {

QString ToQt(const std::string& utf8) { return QString::fromStdString(utf8); }

QVariant ToQColor(const std::optional<Color>& colour) {
  if (!colour) return {};
  return QColor(colour->red, colour->green, colour->blue);
}

// A check box or a colour swatch shows its value without words.
bool ShownWithoutText(const EditCell& cell) { return cell.kind == EditKind::kCheck || cell.kind == EditKind::kColor; }

}  // namespace

GridItemModel::GridItemModel(QObject* parent) : QAbstractTableModel(parent) {}

GridItemModel::~GridItemModel() {
  if (model_) model_->SetChangeListener(nullptr);
}

void GridItemModel::Show(GridModel* model) { Attach(model, nullptr); }

void GridItemModel::Show(EditableGridModel* model) { Attach(model, model); }

void GridItemModel::Attach(GridModel* model, EditableGridModel* editable) {
  beginResetModel();
  if (model_) model_->SetChangeListener(nullptr);
  model_ = model;
  editable_ = editable;
  order_ = {};
  columns_ = 0;
  if (model_) {
    model_->SetChangeListener([this] { Refresh(); });
    order_.Refresh(*model_);
    columns_ = model_->ColumnCount();
  }
  endResetModel();
}

// Same rows and columns: the cells are repainted and the current cell stays where it is.
void GridItemModel::Refresh() {
  if (sorting_) return;
  const bool sameShape = model_->RowCount() == order_.Count() && model_->ColumnCount() == columns_;
  if (!sameShape) beginResetModel();
  order_.Refresh(*model_);
  columns_ = model_->ColumnCount();
  if (!sameShape) {
    endResetModel();
  } else if (columns_ > 0) {
    if (order_.Count() > 0) emit dataChanged(index(0, 0), index(order_.Count() - 1, columns_ - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
  }
}

const EditCell* GridItemModel::EditCellAt(const QModelIndex& index) const {
  if (!editable_ || !index.isValid()) return nullptr;
  return &editable_->At(ModelRow(index.row()), index.column());
}

void GridItemModel::SortBy(int column) {
  if (!model_) return;
  beginResetModel();
  sorting_ = true;  // a model that sorts itself reports the change; the reset covers it
  order_.HeaderClicked(*model_, column);
  sorting_ = false;
  columns_ = model_->ColumnCount();
  endResetModel();
}

bool GridItemModel::SetColor(const QModelIndex& index, Color color) {
  return editable_ && index.isValid() && Take(editable_->SetColor(ModelRow(index.row()), index.column(), color));
}

bool GridItemModel::Paste(const QModelIndex& topLeft, std::string_view block) {
  return editable_ && topLeft.isValid() && Take(editable_->Paste(ModelRow(topLeft.row()), topLeft.column(), block));
}

bool GridItemModel::Take(const Refusal& refusal) {
  if (refusal) emit refused(ToQt(*refusal));
  return !refusal;
}

int GridItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : order_.Count(); }

int GridItemModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant GridItemModel::data(const QModelIndex& index, int role) const {
  std::optional<GridCell> cell;
  return Value(index, role, cell);
}

// A cell is painted from seven roles at once; the model is asked for it once.
void GridItemModel::multiData(const QModelIndex& index, QModelRoleDataSpan roles) const {
  std::optional<GridCell> cell;
  for (QModelRoleData& role : roles) role.setData(Value(index, role.role(), cell));
}

QVariant GridItemModel::Value(const QModelIndex& index, int role, std::optional<GridCell>& cell) const {
  if (!model_ || !index.isValid()) return {};
  const int row = ModelRow(index.row());
  if (role == kRowMarkRole) return index.column() == 0 && model_->RowMarked(row);
  if (role == Qt::CheckStateRole) {
    const EditCell* editCell = EditCellAt(index);
    if (!editCell || editCell->kind != EditKind::kCheck) return {};
    return editCell->checked ? Qt::Checked : Qt::Unchecked;
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::BackgroundRole && role != Qt::ForegroundRole &&
      role != Qt::TextAlignmentRole) {
    return {};
  }
  if (!cell) cell = model_->Cell(row, index.column());
  switch (role) {
    case Qt::DisplayRole:
      return ShownText(index, *cell);
    case Qt::EditRole:
      return ToQt(cell->text);
    case Qt::BackgroundRole:
      return ToQColor(cell->background);
    case Qt::ForegroundRole:
      return ToQColor(cell->textColor);
    default:
      return cell->sortNumber ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
  }
}

QVariant GridItemModel::ShownText(const QModelIndex& index, const GridCell& cell) const {
  const EditCell* editCell = EditCellAt(index);
  if (editCell && ShownWithoutText(*editCell)) return {};
  return ToQt(cell.text);
}

QVariant GridItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!model_ || orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= columns_) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return ToQt(model_->HeaderText(section));
}

Qt::ItemFlags GridItemModel::flags(const QModelIndex& index) const {
  const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const EditCell* cell = EditCellAt(index);
  if (!cell || cell->readOnly) return shown;
  switch (cell->kind) {
    case EditKind::kCheck:
      return shown | Qt::ItemIsUserCheckable;
    case EditKind::kColor:
      return shown;  // the grid opens a colour dialog instead of an editor
    default:
      return shown | Qt::ItemIsEditable;
  }
}

bool GridItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!editable_ || !index.isValid()) return false;
  const int row = ModelRow(index.row());
  if (role == Qt::CheckStateRole) return Take(editable_->SetChecked(row, index.column(), value.toInt() == Qt::Checked));
  if (role == Qt::EditRole) return Take(editable_->SetCell(row, index.column(), value.toString().toStdString()));
  return false;
}

}  // namespace kelvara::platform
