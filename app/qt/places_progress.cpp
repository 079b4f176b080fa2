#include "app/qt/places_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/qt_text.h"
#include "places/messages.h"

namespace kelvara::app {
namespace {

constexpr int kRefreshMs = 100;
// Events are looked at this often while the window is up: often enough for the
// button, rarely enough not to slow a list of tens of thousands of places.
constexpr int kPollMs = 20;

}  // namespace

PlacesProgressWindow::PlacesProgressWindow(places::PlacesWork work, int showAfterMs, bool interruptible,
                                           QWidget* parent)
    : QDialog(parent),
      work_(work),
      showAfterMs_(showAfterMs),
      text_(new QLabel(this)),
      interrupt_(new QPushButton(QString::fromUtf8(places::kInterruptButton), this)) {
  setObjectName("placesProgress");
  setWindowTitle(ToQt(places::ProgressCaption(work)));
  // Other windows wait while the work runs on their thread.
  setWindowModality(Qt::ApplicationModal);
  text_->setObjectName("progressText");
  text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QString(40, QChar('M'))));
  text_->setMinimumHeight(text_->fontMetrics().lineSpacing() * 2);
  interrupt_->setObjectName("interruptButton");
  interrupt_->setEnabled(interruptible);
  connect(interrupt_, &QPushButton::clicked, this, [this] { interrupted_ = true; });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(interrupt_, 0, Qt::AlignHCenter);

  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, &PlacesProgressWindow::Refresh);
  running_.start();
}

bool PlacesProgressWindow::Report(const places::PlacesProgress& progress) {
  lastName_ = progress.current;
  last_ = {progress.done, lastName_};
  if (!isVisible() && running_.elapsed() >= showAfterMs_) {
    show();
    Refresh();
    refresh_.start();
    sincePoll_.invalidate();
  }
  if (isVisible() && (!sincePoll_.isValid() || sincePoll_.elapsed() >= kPollMs)) {
    QCoreApplication::processEvents();
    sincePoll_.start();
  }
  return !interrupted_;
}

QString PlacesProgressWindow::text() const { return text_->text(); }

void PlacesProgressWindow::reject() { interrupted_ = true; }

void PlacesProgressWindow::Refresh() {
  // The text carries the handheld's line break; a label wants a plain one.
  text_->setText(ToQt(places::ProgressText(work_, last_)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace kelvara::app
