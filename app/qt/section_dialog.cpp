#include "app/qt/section_dialog.h"

#include <QComboBox>
#include <QVBoxLayout>

#include "app/qt/dialog_buttons.h"
#include "app/qt/qt_text.h"

namespace kelvara::app {
namespace {

constexpr int kMinimumComboWidth = 220;

}  // namespace

SectionDialog::SectionDialog(const interpretation::SectionChoice& choice, QWidget* parent)
    : QDialog(parent), sections_(new QComboBox(this)) {
  setWindowTitle(ToQt(interpretation::kChooseSectionCaption));
  setObjectName("sectionDialog");
  // Names may repeat, so the combo is read by index only.
  for (const std::string& name : choice.Names()) sections_->addItem(ToQt(name));
  sections_->setCurrentIndex(static_cast<int>(choice.Selected()));
  sections_->setMinimumWidth(kMinimumComboWidth);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sections_);
  layout->addLayout(MakeOkCancelRow(*this));
}

std::size_t SectionDialog::SelectedIndex() const { return static_cast<std::size_t>(sections_->currentIndex()); }

std::optional<std::size_t> SectionDialog::Choose(QWidget* parent, const interpretation::SectionChoice& choice) {
  SectionDialog dialog(choice, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.SelectedIndex();
}

}  // namespace kelvara::app
