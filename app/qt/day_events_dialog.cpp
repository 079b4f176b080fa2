#include "app/qt/day_events_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"

namespace kelvara::app {
namespace {

constexpr int kDialogHeight = 420;
constexpr int kFrameWidth = 40;  // pixels beside the table for the frame and scroll bar
constexpr const char* kNoEvents = "В этот день аспектов нет.";
constexpr const char* kSaveCaption = "Сохранить...";
constexpr const char* kCloseCaption = "Закрыть";

}  // namespace

AspectListDialog::AspectListDialog(const std::string& caption, std::vector<eventmap::AspectListRow> rows,
                                   QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)), grid_(new platform::CALXGridCtrl(this)) {
  setWindowTitle(ToQt(caption));
  table_.Show(rows_);
  grid_->SetModel(&table_);
  grid_->SetMessageSink(MessagesOver(this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(ToQt(kCloseCaption));
  QPushButton* copy = buttons->addButton(ToQt(platform::kCopyCaption), QDialogButtonBox::ActionRole);
  QPushButton* save = buttons->addButton(ToQt(kSaveCaption), QDialogButtonBox::ActionRole);
  copy->setObjectName("copyCsv");
  save->setObjectName("saveCsv");
  connect(copy, &QPushButton::clicked, this, &AspectListDialog::CopyCsv);
  connect(save, &QPushButton::clicked, this, [this] { grid_->SaveCsvText(Csv()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  if (rows_.empty()) layout->addWidget(new QLabel(ToQt(kNoEvents), this));
  layout->addWidget(grid_);
  layout->addWidget(buttons);
  resize(grid_->horizontalHeader()->length() + kFrameWidth, kDialogHeight);
}

// The grid, a child deleted after the members, must not look at the table by then.
AspectListDialog::~AspectListDialog() { grid_->SetModel(nullptr); }

void AspectListDialog::CopyCsv() { QApplication::clipboard()->setText(ToQt(Csv())); }

}  // namespace kelvara::app
