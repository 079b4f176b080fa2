// Shows a GridModel to Qt's item views, its rows in the order the header clicks chose;
// over an editable model it also takes the user's edits.
#pragma once

#include <QAbstractTableModel>

#include "platform/editable_grid_model.h"
#include "platform/grid_model.h"

namespace kelvara::platform {

class GridItemModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // True in the first column of a marked row.
  static constexpr int kRowMarkRole = Qt::UserRole + 1;

  explicit GridItemModel(QObject* parent = nullptr);
  ~GridItemModel() override;

  // The model must outlive this one or be replaced first; null shows nothing.
  void Show(GridModel* model);
  void Show(EditableGridModel* model);
  GridModel* Source() const { return model_; }

  int ModelRow(int shownRow) const { return order_.ModelRow(shownRow); }
  const GridRowOrder& Order() const { return order_; }
  // The editable cell at a shown index; null in a read-only grid.
  const EditCell* EditCellAt(const QModelIndex& index) const;

  // The header click of the model's column: the model or this one re-sorts the rows.
  void SortBy(int column);
  // The edits that no editor makes: a colour from the dialog, a block from the clipboard.
  bool SetColor(const QModelIndex& index, Color color);
  bool Paste(const QModelIndex& topLeft, std::string_view block);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  void multiData(const QModelIndex& index, QModelRoleDataSpan roles) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  void refused(const QString& reason);

 private:
  void Attach(GridModel* model, EditableGridModel* editable);
  void Refresh();
  // Reports why a value was refused; false then.
  bool Take(const Refusal& refusal);
  QVariant Value(const QModelIndex& index, int role, std::optional<GridCell>& cell) const;
  QVariant ShownText(const QModelIndex& index, const GridCell& cell) const;

  GridModel* model_ = nullptr;
  EditableGridModel* editable_ = nullptr;  // the same model when it is editable
  GridRowOrder order_;
  int columns_ = 0;
  bool sorting_ = false;
};

}  // namespace kelvara::platform
