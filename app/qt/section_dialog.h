// Dialog 152 "Выберите раздел": the thematic sections of a kind folder in a combo box.
#pragma once

#include <QDialog>

#include <cstddef>
#include <optional>

#include "interpretation/text_library.h"

class QComboBox;

namespace kelvara::app {

class SectionDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 152;

  // The combo starts on the choice's selected section.
  explicit SectionDialog(const interpretation::SectionChoice& choice, QWidget* parent = nullptr);
  std::size_t SelectedIndex() const;
  QComboBox* Sections() const { return sections_; }

  // The index of the section taken on "OK"; none for "Отмена".
  static std::optional<std::size_t> Choose(QWidget* parent, const interpretation::SectionChoice& choice);

 private:
  QComboBox* sections_;
};

}  // namespace kelvara::app
