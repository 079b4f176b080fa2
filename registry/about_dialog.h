// Dialog 153: shows the main window's title.
#pragma once

#include <QDialog>

namespace kelvara::vornal {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(const QString& windowTitle, QWidget* parent = nullptr);
};

}  // namespace kelvara::vornal
