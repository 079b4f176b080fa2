#include "calendars/qt/calendar_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendars/calendar_texts.h"
#include "calendars/ics_export.h"
#include "calendars/calendar_files.h"
#include "interpretation/text_request.h"
#include "platform/qt/grid_ctrl.h"

namespace kelvara::calendars {
namespace {

constexpr int kDefaultWidth = 760;
constexpr int kDefaultHeight = 620;
constexpr double kTitleScale = 1.3;

std::optional<std::filesystem::path> Choose(const CalendarUi& ui, bool save, std::string_view filter, QWidget* parent) {
  return ui.chooseFile ? ui.chooseFile(save, filter, parent) : ChooseCalendarFile(save, filter, parent);
}

void Tell(const CalendarUi& ui, const std::string& text) {
  if (ui.tell) ui.tell(text);
}

// "Now" on the clock the result's times are shown on, so the window opens on the row in force.
double ShownNow(CalendarViewMode mode, const CalendarResult& result, const workspace::TimeZoneSource* zones,
                double nowUtcHours) {
  const ShownClock clock = ClockOfResult(mode, result);
  switch (clock.kind) {
    case ShownClock::Kind::kFixedOffset: return nowUtcHours + clock.offsetHours;
    case ShownClock::Kind::kPlace: {
      if (!zones) return nowUtcHours;
      const auto offset =
          zones->OffsetHoursAt(clock.placeName, clock.latitudeDeg, clock.longitudeDeg, nowUtcHours, true);
      return nowUtcHours + offset.value_or(0.0);
    }
    case ShownClock::Kind::kUtc:
    case ShownClock::Kind::kUnknown: break;
  }
  return nowUtcHours;
}

}  // namespace

std::vector<double> CalendarWindowView::ColumnFractions() const {
  std::vector<double> shares = CalendarView::ColumnFractions();
  double total = 0.0;
  for (double share : shares) total += share;
  if (total > 1.0) shares.clear();
  return shares;
}

bool ChooseAndOpenCalendar(CalendarViewMode mode, CalendarResults& results, const CalendarUi& ui, QWidget* parent) {
  const CalendarFileKind kind = ViewFileKind(mode);
  const auto file = Choose(ui, false, FileFilter(kind), parent);
  if (!file) return false;
  if (const auto message = LoadCalendarFile(*file, kind, results.columnOrder, ResultOf(results, mode))) {
    Tell(ui, *message);
    return false;
  }
  return true;
}

bool ChooseAndSaveCalendar(CalendarViewMode mode, const CalendarResults& results, const CalendarUi& ui, QWidget* parent) {
  const CalendarFileKind kind = ViewFileKind(mode);
  const auto file = Choose(ui, true, FileFilter(kind), parent);
  if (!file) return false;
  if (const auto message = SaveCalendarFile(*file, kind, ResultOf(results, mode), results.columnOrder)) {
    Tell(ui, *message);
    return false;
  }
  return true;
}

CCalendarWnd::CCalendarWnd(const CalendarWindowSetup& setup, CalendarResults& results, CalendarUi ui,
                           QWidget* parent)
    : QDialog(parent),
      setup_(setup),
      results_(results),
      ui_(std::move(ui)),
      view_(setup.mode, results, setup.aspects),
      title_(new QLabel(this)),
      place_(new QLabel(this)),
      grid_(new platform::CALXGridCtrl(this)) {
  setObjectName("calendarWindow");
  setSizeGripEnabled(true);
  title_->setObjectName("title");
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * kTitleScale);
  title_->setFont(titleFont);
  place_->setObjectName("placeLine");
  place_->setWordWrap(true);
  grid_->setObjectName("calendarGrid");
  grid_->SetModel(&view_);
  // The handheld's shares left room for its scroll bar; here the last column takes it up.
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->SetMessageSink(ui_.tell);
  connect(grid_, &platform::CALXGridCtrl::rowActivated, this, &CCalendarWnd::Activate);

  auto* buttons = new QHBoxLayout;
  QPushButton* recalculate = AddButton(texts::kRecalculate, "recalculate");
  connect(recalculate, &QPushButton::clicked, this, [this] { done(kRecalculate); });
  buttons->addWidget(recalculate);
  buttons->addStretch();
  for (auto [caption, name, slot] : {std::tuple{texts::kSaveCaption, "save", &CCalendarWnd::Save},
                                     std::tuple{texts::kOpenCaption, "open", &CCalendarWnd::Open},
                                     std::tuple{texts::kSaveIcsCaption, "saveIcs", &CCalendarWnd::SaveIcs}}) {
    QPushButton* button = AddButton(caption, name);
    connect(button, &QPushButton::clicked, this, slot);
    buttons->addWidget(button);
  }
  QPushButton* close = AddButton(texts::kCloseCaption, "close");
  connect(close, &QPushButton::clicked, this, &CCalendarWnd::reject);
  buttons->addWidget(close);

  const auto addShortcut = [this](QKeySequence keys, auto slot) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
  };
  addShortcut(QKeySequence::Save, [this] { Save(); });
  addShortcut(QKeySequence::Open, [this] { Open(); });
  addShortcut(Qt::Key_F5, [this] { done(kRecalculate); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(place_);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  resize(kDefaultWidth, kDefaultHeight);
  ShowResult();
}

// The grid, a child deleted after the members, must not look at the model by then.
CCalendarWnd::~CCalendarWnd() { grid_->SetModel(nullptr); }

QPushButton* CCalendarWnd::AddButton(std::string_view caption, const char* objectName) {
  auto* button = new QPushButton(ToQt(caption), this);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  return button;
}

void CCalendarWnd::ShowResult() {
  setWindowTitle(ToQt(view_.Title()));
  title_->setText(ToQt(view_.Title()));
  const std::string place = view_.PlaceLine();
  place_->setText(ToQt(place));
  place_->setVisible(!place.empty());
}

void CCalendarWnd::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (openedOnNow_) return;
  openedOnNow_ = true;
  const CalendarResult& result = ResultOf(results_, setup_.mode);
  const auto row = view_.RowInForce(ShownNow(setup_.mode, result, setup_.zones, setup_.nowUtcHours));
  if (!row) return;
  grid_->selectRow(*row);
  grid_->scrollTo(grid_->model()->index(*row, 0), QAbstractItemView::PositionAtCenter);
}

void CCalendarWnd::Activate(int modelRow) {
  if (setup_.mode != CalendarViewMode::kLunar) return;
  const std::vector<std::string>& lines = ResultOf(results_, setup_.mode).lines;
  if (modelRow < 0 || modelRow >= int(lines.size())) return;
  const std::string request = interpretation::LunarDayRequest(lines[modelRow]);
  if (!request.empty()) emit textRequested(request);
}

void CCalendarWnd::Save() { ChooseAndSaveCalendar(setup_.mode, results_, ui_, this); }

void CCalendarWnd::Open() {
  if (!ChooseAndOpenCalendar(setup_.mode, results_, ui_, this)) return;
  view_.Refresh();
  ShowResult();
}

void CCalendarWnd::SaveIcs() {
  const CalendarResult& result = ResultOf(results_, setup_.mode);
  const auto file = Choose(ui_, true, texts::kIcsFilter, this);
  if (!file) return;
  IcsRequest request;
  request.mode = setup_.mode;
  request.columnOrder = results_.columnOrder;
  request.toUtc = ShownToUtc(ClockOfResult(setup_.mode, result), setup_.zones);
  request.stampUtcHours = setup_.nowUtcHours;
  if (const auto message = calendars::SaveIcs(*file, CalendarToIcs(result, request).text)) Tell(ui_, *message);
}

}  // namespace kelvara::calendars
