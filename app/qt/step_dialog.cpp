#include "app/qt/step_dialog.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "app/help_topics.h"
#include "app/qt/help_key.h"
#include "app/qt/qt_text.h"
#include "app/step_shift.h"

namespace kelvara::app {
namespace {

using workspace::StepShift;

struct Field {
  const char* label;
  int maximum;
  int StepShift::*part;
};

// Years span the whole scale; the other bounds are generous yet keep a step times a long
// repetition far inside the arithmetic. Negative parts are never typed: backward has its zone.
constexpr std::array<Field, 6> kFields = {{
    {"Лет", 270, &StepShift::years},
    {"Мес", 1000, &StepShift::months},
    {"Дн", 100000, &StepShift::days},
    {"час", 1000000, &StepShift::hours},
    {"мин", 1000000, &StepShift::minutes},
    {"сек", 1000000, &StepShift::seconds},
}};
constexpr int kFieldColumns = 3;
constexpr const char* kCaption = "Задайте шаг пересчета";
// Keeps the dialog clear of the stylus that opened it.
constexpr int kTapGap = 8;

// One axis of the placement: after the tap, else before it, then inside [low, high).
int Along(int tap, int length, int low, int high) {
  int start = tap + kTapGap;
  if (start + length > high) start = tap - kTapGap - length;
  return std::clamp(start, low, std::max(low, high - length));
}

}  // namespace

CStepDlg::CStepDlg(int chart, const StepShift& step, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("%1 для карты %2").arg(ToQt(kCaption)).arg(chart));
  InstallHelpKey(*this, kHelpStep);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQt(kCaption), this));
  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    const Field& field = kFields[i];
    auto* label = new QLabel(ToQt(field.label), this);
    fields_[i] = new QSpinBox(this);
    fields_[i]->setRange(0, field.maximum);
    fields_[i]->setValue(step.*field.part);
    label->setBuddy(fields_[i]);
    const int row = static_cast<int>(i) / kFieldColumns;
    const int column = static_cast<int>(i) % kFieldColumns * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(fields_[i], row, column + 1);
  }
  layout->addLayout(grid);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // The program's own words and no theme icons, as in its other dialogs.
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("Отмена"));
  for (QAbstractButton* button : buttons->buttons()) button->setIcon(QIcon());
  QPushButton* clear = buttons->addButton(tr("Обнулить"), QDialogButtonBox::ActionRole);
  QPushButton* off = buttons->addButton(tr("Убрать"), QDialogButtonBox::ActionRole);
  connect(clear, &QPushButton::clicked, this, &CStepDlg::Clear);
  connect(off, &QPushButton::clicked, this, [this] { done(kStepModeOffCode); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

StepShift CStepDlg::Shown() const {
  StepShift shown;
  for (std::size_t i = 0; i < kFields.size(); ++i) shown.*kFields[i].part = fields_[i]->value();
  return shown;
}

void CStepDlg::Clear() {
  for (QSpinBox* field : fields_) field->setValue(0);
}

StepDialogResult CStepDlg::EditStep(QWidget* parent, int chart, StepShift& step, QPoint nearGlobal) {
  CStepDlg dialog(chart, step, parent);
  dialog.adjustSize();
  const QScreen* screen = QGuiApplication::screenAt(nearGlobal);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    dialog.move(StepDialogPosition(dialog.size(), nearGlobal, screen->availableGeometry()));
  }
  const int code = dialog.exec();
  if (code == kStepModeOffCode) return StepDialogResult::kStepModeOff;
  if (code != QDialog::Accepted) return StepDialogResult::kCancelled;
  StoreEditedStep(step, dialog.Shown());
  return StepDialogResult::kAccepted;
}

QPoint StepDialogPosition(QSize size, QPoint nearGlobal, const QRect& available) {
  return {Along(nearGlobal.x(), size.width(), available.left(), available.left() + available.width()),
          Along(nearGlobal.y(), size.height(), available.top(), available.top() + available.height())};
}

}  // namespace kelvara::app
