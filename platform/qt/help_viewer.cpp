#include "platform/qt/help_viewer.h"

#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>

#include "platform/paths.h"

namespace kelvara::platform {
namespace {

constexpr const char* kHelpFileName = "kelvara.htm";
constexpr int kDefaultWidth = 600;
constexpr int kDefaultHeight = 700;

}  // namespace

QString HelpAnchor(const QString& target) {
  const qsizetype hash = target.indexOf('#');
  if (hash >= 0) return target.mid(hash + 1);
  if (target.startsWith("file:") || target.endsWith(".htm", Qt::CaseInsensitive)) return {};
  return target;
}

HelpViewer::HelpViewer(const std::filesystem::path& helpFile, QWidget* parent)
    : QMainWindow(parent), helpFile_(helpFile), browser_(new QTextBrowser(this)) {
  browser_->setOpenExternalLinks(true);
  setCentralWidget(browser_);
  setWindowTitle(tr("Справка"));
  resize(kDefaultWidth, kDefaultHeight);
}

bool HelpViewer::LoadPage() {
  if (loaded_) return true;
  if (!std::filesystem::is_regular_file(helpFile_)) return false;
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(helpFile_.string())));
  loaded_ = !browser_->document()->isEmpty();
  if (loaded_ && !browser_->documentTitle().isEmpty()) setWindowTitle(browser_->documentTitle());
  return loaded_;
}

bool HelpViewer::ShowTopic(const QString& target) {
  if (!LoadPage()) return false;
  const QString anchor = HelpAnchor(target);
  if (anchor.isEmpty() || !Anchors().contains(anchor)) {
    browser_->moveCursor(QTextCursor::Start);
    browser_->verticalScrollBar()->setValue(0);
    return true;
  }
  browser_->scrollToAnchor(anchor);
  return true;
}

QStringList HelpViewer::Anchors() const {
  QStringList anchors;
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      anchors << fragment.fragment().charFormat().anchorNames();
    }
  }
  return anchors;
}

bool ShowHelp(const QString& target) {
  static QPointer<HelpViewer> viewer;
  if (viewer.isNull()) {
    viewer = new HelpViewer(DataFolder() / "help" / kHelpFileName);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (!viewer->ShowTopic(target)) {
    QMessageBox::warning(nullptr, QObject::tr("Справка"),
                         QObject::tr("Файл справки \"%1\" не найден.").arg(kHelpFileName));
    viewer->close();
    return false;
  }
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return true;
}

}  // namespace kelvara::platform
