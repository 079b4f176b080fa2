#include "app/qt/position_table.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/position_table_source.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "platform/glyph.h"
#include "platform/qt/qt_canvas.h"

namespace kelvara::app {
namespace {

// The glyphs stand out from the names beside them.
constexpr double kGlyphScale = 1.5;
constexpr int kDefaultWidth = 980;
constexpr int kDefaultHeight = 640;

// The grid's own cells, with the glyph font in the glyph column.
class GlyphColumnDelegate : public QStyledItemDelegate {
 public:
  GlyphColumnDelegate(QAbstractItemDelegate* grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    grid_->paint(painter, WithGlyphFont(option), index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return grid_->sizeHint(WithGlyphFont(option), index);
  }

 private:
  static QStyleOptionViewItem WithGlyphFont(const QStyleOptionViewItem& option) {
    QStyleOptionViewItem glyph(option);
    glyph.font = QFont(platform::ResolveFontFamily(platform::kGlyphFace));
    glyph.font.setPointSizeF(option.font.pointSizeF() * kGlyphScale);
    return glyph;
  }

  QAbstractItemDelegate* grid_;
};

}  // namespace

PositionTableWindow::PositionTableWindow(int chart, QWidget* parent)
    : QWidget(parent, Qt::Window), chart_(chart), grid_(new platform::CALXGridCtrl(this)) {
  grid_->SetModel(&model_);
  grid_->setItemDelegateForColumn(display::kGlyphColumn, new GlyphColumnDelegate(grid_->itemDelegate(), grid_));
  grid_->SetMessageSink(MessagesOver(this));
  connect(grid_, &platform::CALXGridCtrl::rowActivated, this, &PositionTableWindow::Activate);
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &PositionTableWindow::TellSort);
  auto* save = new QPushButton(ToQt(platform::kSaveCsvCaption), this);
  save->setObjectName("saveCsv");
  connect(save, &QPushButton::clicked, this, &PositionTableWindow::SaveCsv);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  resize(kDefaultWidth, kDefaultHeight);
}

// The grid, a child deleted after the members, must not look at the model by then.
PositionTableWindow::~PositionTableWindow() { grid_->SetModel(nullptr); }

void PositionTableWindow::Show(const std::string& title, const display::PositionTableInput& input) {
  setWindowTitle(ToQt(title));
  model_.Show(input);
}

void PositionTableWindow::ApplySort(int storedSort) {
  const PositionSort sort = PositionSortOf(storedSort);
  if (!sort.column) return;
  // As the header clicks would: the second click on a column reverses it.
  QHeaderView* header = grid_->horizontalHeader();
  for (int click = 0; click < (sort.descending ? 2 : 1); ++click) emit header->sectionClicked(*sort.column);
}

void PositionTableWindow::TellSort() {
  if (!sortChanged_) return;
  const platform::GridRowOrder& order = grid_->Items()->Order();
  sortChanged_(StoredPositionSort({order.SortColumn(), order.Descending()}));
}

void PositionTableWindow::Activate(int modelRow) {
  const std::string request = PositionCellRequest(model_, modelRow, grid_->currentIndex().column());
  if (!request.empty() && request_) request_(request);
}

}  // namespace kelvara::app
