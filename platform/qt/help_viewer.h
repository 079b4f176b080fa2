// Stands in for the handheld's help viewer: the program's help page, opened at an
// anchor ("file:kelvara.htm#Map", "kelvara.htm#Map", "#Map" or "Map").
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <filesystem>

class QTextBrowser;

namespace kelvara::platform {

// The anchor named by a help target; empty for the top of the page.
QString HelpAnchor(const QString& target);

class HelpViewer : public QMainWindow {
  Q_OBJECT

 public:
  explicit HelpViewer(const std::filesystem::path& helpFile, QWidget* parent = nullptr);

  // Loads the page when needed and shows the anchor of `target`, or the top of the
  // page when the anchor is unknown. False when the page cannot be read.
  bool ShowTopic(const QString& target);
  QStringList Anchors() const;
  QTextBrowser* Browser() const { return browser_; }

 private:
  bool LoadPage();

  std::filesystem::path helpFile_;
  QTextBrowser* browser_;
  bool loaded_ = false;
};

// The program's help window, made on first use and raised on every later call; the
// page is data/help/kelvara.htm beside the program. A missing page is reported in a
// message box and gives false.
bool ShowHelp(const QString& target);

}  // namespace kelvara::platform
