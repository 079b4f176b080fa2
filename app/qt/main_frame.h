// The main window: the document (the session's charts), the view that paints them, the
// menus, tool bar and status bar rebuilt from the core's trees after every command, the
// "now" clock and the step shift. Commands go to the core's Dispatch; the frame only
// shows its questions and dialogs.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/commands.h"
#include "app/now_clock.h"
#include "app/qt/kelvara_view.h"
#include "app/qt/position_table.h"
#include "app/session.h"
#include "app/step_shift.h"
#include "places/chart_zones.h"
#include "places/places_list.h"
#include "platform/profile.h"
#include "platform/qt/qt_message_sink.h"

class QLabel;
class QMenu;
class QToolBar;

namespace kelvara::app {

class EventMapPicture;

// The document of the window: the session's charts under the main chart's name.
class CKelvaraCDoc {
 public:
  explicit CKelvaraCDoc(Session& session) : session_(session) {}
  // The window title: the program's name, then the main chart's name when it has one.
  std::string Title() const;
  bool IsModified() const { return session_.modified; }
  Session& Data() { return session_; }

 private:
  Session& session_;
};

// What the window works with; all of it outlives the window.
struct FrameServices {
  const workspace::ChartEngine& engine;
  const platform::Clock* clock = nullptr;
  platform::Profile* profile = nullptr;  // none: nothing is written at close (pictures for files)
  std::string registryFile;              // named when the settings cannot be written
};

class CMainFrame : public QMainWindow, private ViewUi, private NowClockControl {
  Q_OBJECT

 public:
  CMainFrame(Session& session, const FrameServices& services, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The position table of chart 1 or 2, as a sideways swipe opens it; one window a
  // chart, raised when it is open already.
  void OpenPositionTable(int chart);
  // The open table of chart 1 or 2, or null.
  PositionTableWindow* PositionTable(int chart) const;
  // Where a table cell's text request goes; the text library is not there yet, so by
  // default the request is shown in a box saying so.
  using TextRequester = std::function<void(const std::string& request)>;
  void SetTextRequester(TextRequester requester) { textRequester_ = std::move(requester); }
  // Hands a text request (a table cell's, a lunar day's) to the text requester.
  void RequestText(const std::string& request);
  // "Список аспектов" of the event map's day.
  void OpenAspectList();
  // The settings dialog on a command's page.
  void OpenSettings(SettingsPage page);
  EventMapPicture& EventMap();

  // Runs a command as the menus do.
  void RunCommand(CommandId command, int argument = 0);
  // The state after the start: charts computed, menus built, the clock running.
  void ShowCharts();
  // Opens a document as "Загрузить из файла..." does, without the file dialog.
  void OpenDocumentFile(const std::string& path);
  // Writes the picture of the view as PNG, SVG or PDF by the file's extension.
  bool SavePicture(const QString& file);

  CKelvaraCView* View() const { return view_; }
  ViewPictures& Pictures() { return pictures_; }
  NowClock& Clock() { return nowClock_; }
  const CKelvaraCDoc& Document() const { return document_; }
  // The places list of the place dialogs and the places' time zones, for the calendars.
  places::PlacesList& Places() { return places_; }
  const places::CityBaseZones& Zones() const { return zones_; }
  // The parts of the program that take over commands as they come (calendars, texts,
  // settings pages); a command without its part says that it does not work yet.
  CommandServices& Services() { return commandServices_; }

  // Tests stand in for the file dialogs: (save, suggested name) -> the chosen path.
  using FileChooser = std::function<std::optional<std::string>(bool save, const std::string& suggested)>;
  void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // ViewUi
  void ShowMessage(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  bool EditBirthData(workspace::ChartRecord& chart, bool secondChart) override;
  std::optional<workspace::CompositeOptions> EditCompositeOptions() override;
  std::optional<std::string> ChooseDocumentToOpen() override;
  std::optional<std::string> ChooseDocumentToSave(const std::string& suggestedName) override;
  std::optional<std::string> ChooseWallpaperFile() override;
  // NowClockControl
  void Stop() override;
  void Resume() override;

  CommandContext MakeContext();
  void AfterChange();
  void ShowDamagedEphemerisFiles();
  void RebuildMenus();
  void RebuildToolBar();
  void UpdateStatus();
  void CreateShortcuts();
  void OnPostedMessage(unsigned message, quintptr wParam);
  void OnDoubleTap();
  void OnStepActions(const std::vector<StepAction>& actions, QPoint globalPoint);
  void StepChartBy(int chart, int direction);
  void OpenStepDialog(int chart, QPoint globalPoint);
  void ChooseAndSavePicture();
  workspace::ChartRecord& ChartOf(int chart);
  // Each open table follows its chart, or closes when the chart has gone.
  void RefreshPositionTables();

  Session& session_;
  FrameServices services_;
  CKelvaraCDoc document_;
  places::CityBaseZones zones_;
  places::PlacesList places_;
  std::string lastPlace_;
  ViewPictures pictures_;
  StepController steps_;
  platform::QtMessageSink nowSink_;
  NowClock nowClock_;
  CKelvaraCView* view_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* status_ = nullptr;
  FileChooser fileChooser_;
  CommandServices commandServices_;
  std::array<QPointer<PositionTableWindow>, 2> positionTables_;  // by chart 1, 2
  TextRequester textRequester_;
  bool shutDown_ = false;
};

}  // namespace kelvara::app
