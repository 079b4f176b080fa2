// The settings dialog: the planets pages of both charts (for the wheel and for the event
// map), the aspect pages, the rulers and the view, a tab each. It edits a draft; OK and
// "Применить" write what changed and show it at once, "Отмена" leaves everything as it was.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/settings_pages.h"
#include "platform/qt/grid_ctrl.h"

class QCheckBox;
class QLabel;
class QTabWidget;

namespace kelvara::app {

class AspectsPageWidget;

class CSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  // `applied` runs after each write (the window redraws); the profile may be null.
  CSettingsDlg(CommandContext& context, platform::Profile* profile, SettingsPage page,
               std::function<void()> applied, QWidget* parent = nullptr);
  ~CSettingsDlg() override;

  QTabWidget* Tabs() const { return tabs_; }
  // The tab of a page; null when the dialog has none for it.
  QWidget* PageWidget(SettingsPage page) const;
  platform::CRegGridCtrl* PlanetsGrid(SettingsPage page) const;
  platform::CRegGridCtrl* ViewGrid() const { return viewGrid_; }
  platform::CALXGridCtrl* RulersGrid() const { return rulersGrid_; }
  QCheckBox* SwitchBox(CommandId whenOn) const;
  AspectsPageWidget* AspectsPage() const { return aspects_; }
  SettingsDraft& Draft() { return draft_; }

  // Writes what changed; false, with the message shown, when something was not written.
  bool Apply();
  void accept() override;

 private:
  struct PlanetsTab;

  void AddPlanetsTab(SettingsPage page, int chart, bool eventMapOrder, const char* title);
  void AddAspectTabs();
  void AddRulersTab();
  void AddViewTab();
  QWidget* MakeViewSwitches();
  void EditRulersCell(int occurrence);
  void ShowPlanetsOf(int tab);
  void ShowSwitches();
  void OpenHelp();
  void ShowPage(SettingsPage page);

  CommandContext& context_;
  platform::Profile* profile_;
  std::function<void()> applied_;
  SettingsDraft draft_;
  QTabWidget* tabs_;
  std::map<SettingsPage, QWidget*> pages_;
  std::vector<std::unique_ptr<PlanetsTab>> planets_;
  std::unique_ptr<RulersPage> rulers_;
  std::unique_ptr<ViewPage> view_;
  platform::CALXGridCtrl* rulersGrid_ = nullptr;
  platform::CRegGridCtrl* viewGrid_ = nullptr;
  AspectsPageWidget* aspects_ = nullptr;
  std::vector<QCheckBox*> switches_;
  QLabel* wallpaperFile_ = nullptr;
};

// Opens the dialog on the page of a command; "Планеты2" without a second chart says that
// its page is not there.
void OpenSettingsDialog(CommandContext& context, platform::Profile* profile, SettingsPage page,
                        std::function<void()> applied, QWidget* parent);

}  // namespace kelvara::app
