// The aspect pages of the settings dialog: "Аспекты" edits the draft tables, "Таблица
// аспектов" lists the aspects they give the charts shown.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/asp_pages.h"
#include "platform/qt/grid_ctrl.h"

class QLabel;
class QLayout;
class QRadioButton;

namespace kelvara::app {

class AspectsPageWidget : public QWidget {
  Q_OBJECT

 public:
  // Edits `draft` in place, starting on table `tableInUse` (1 or 2).
  AspectsPageWidget(workspace::AspectTables& draft, int tableInUse, QWidget* parent = nullptr);
  ~AspectsPageWidget() override;

  void ShowTable(int table);
  AspectsPage& Model() { return page_; }
  platform::CRegGridCtrl& AspectGrid() { return *aspects_; }
  platform::CRegGridCtrl& OrbGrid() { return *orbs_; }

 signals:
  // After every accepted change of the draft.
  void edited();

 private:
  QWidget* MakeTableSwitch();
  QWidget* MakeOrbPanel();
  QLayout* MakeButtons(QWidget* panel);
  void FollowCurrentAspect();
  void ShowOrbTitle();
  void AskDefaults();
  void Import();
  void Export();
  QString TableFileName() const;

  AspectsPage page_;
  platform::CRegGridCtrl* aspects_;
  platform::CRegGridCtrl* orbs_;
  QLabel* orbTitle_;
  QRadioButton* single_;
  QRadioButton* between_;
};

class AspectTablePageWidget : public QWidget {
  Q_OBJECT

 public:
  using RowSource = std::function<std::vector<AspectListRow>()>;

  explicit AspectTablePageWidget(RowSource rows, QWidget* parent = nullptr);
  ~AspectTablePageWidget() override;

  platform::CALXGridCtrl& Grid() { return *grid_; }

 public slots:
  void Refresh();

 private:
  RowSource rows_;
  AspectListTable table_;
  platform::CALXGridCtrl* grid_;
  QLabel* empty_;
};

}  // namespace kelvara::app
