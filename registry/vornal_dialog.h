// Dialog 102, the editor's main window: the registry as a tree of keys and values under
// "My Computer", filled one level at a time, with the command menu.
#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <optional>

#include "registry/commands.h"
#include "registry/editor_model.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace kelvara::vornal {

class MessageBoxes;

class VornalDialog : public QDialog {
  Q_OBJECT

 public:
  enum class ItemKind { Computer, Root, Key, Value, Placeholder };

  VornalDialog(platform::Registry& registry, MessageBoxes& messages, QWidget* parent = nullptr);

  // Set once a fatal error was shown; the program then ends.
  bool HasFailed() const { return failed_; }
  QTreeWidget* Tree() const { return tree_; }
  const FindOptions& Options() const { return findOptions_; }
  QAction* CommandAction(Command command) const { return actions_.value(int(command)); }

  static ItemKind KindOf(const QTreeWidgetItem* item);
  // The key or value name an item stands for (a value's label holds more).
  static QString NameOf(const QTreeWidgetItem* item);

  void RunCommand(Command command);

 private:
  void CreateMenu();
  QAction* AddCommand(QWidget* menu, const QString& text, Command command);
  void Start(const platform::Registry& registry);
  void Fail(const std::string& message);

  void InsertRoots(QTreeWidgetItem* computer);
  void Activate(QTreeWidgetItem* item);
  void FillOneLevel(QTreeWidgetItem* key);
  void FillCompletely(QTreeWidgetItem* key);
  QTreeWidgetItem* AddKeyItem(QTreeWidgetItem* parent, const SubKeyEntry& entry);
  void AddPlaceholder(QTreeWidgetItem* key);
  QTreeWidgetItem* AddValueItem(QTreeWidgetItem* parent, const platform::RegValue& value);

  std::optional<KeyPath> PathOf(const QTreeWidgetItem* key) const;
  QTreeWidgetItem* SelectedKeyItem() const;

  void EditValue(QTreeWidgetItem* item);
  void NewKey();
  void NewValue(const EditForm& form);
  void DeleteSelected();
  void ShowIfStoreRefused();
  void Refresh();
  void Find();
  void About();
  void SelectNeighbour(Command direction);

  RegistryEditor editor_;
  QIcon keyIcon_;
  QIcon valueIcon_;
  QIcon computerIcon_;
  MessageBoxes& messages_;
  QTreeWidget* tree_;
  QHash<int, QAction*> actions_;
  FindOptions findOptions_;
  bool failed_ = false;
};

}  // namespace kelvara::vornal
