#include "registry/vornal_dialog.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/casefold.h"
#include "registry/about_dialog.h"
#include "registry/edit_dialog.h"
#include "registry/find_dialog.h"
#include "registry/icons.h"
#include "registry/message_boxes.h"
#include "registry/qt_text.h"
#include "registry/value_format.h"

namespace kelvara::vornal {

using platform::RegValue;

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

using ItemKind = VornalDialog::ItemKind;

QTreeWidgetItem* MakeItem(ItemKind kind, const QString& text, const QString& name,
                          const QIcon& icon) {
  auto* item = new QTreeWidgetItem({text});
  item->setData(0, kKindRole, int(kind));
  item->setData(0, kNameRole, name);
  item->setIcon(0, icon);
  return item;
}

bool IsKey(ItemKind kind) { return kind == ItemKind::Root || kind == ItemKind::Key; }

bool IsUnfilled(const QTreeWidgetItem* key) {
  return key->childCount() == 1 && VornalDialog::KindOf(key->child(0)) == ItemKind::Placeholder;
}

std::u16string Folded(const QString& name) { return platform::FoldToUpper(name.toStdU16String()); }

// Names compare as the store compares them, so a new item never doubles an old one.
QTreeWidgetItem* FindChild(const QTreeWidgetItem* parent, ItemKind kind, const QString& name) {
  const std::u16string folded = Folded(name);
  for (int i = 0; i < parent->childCount(); ++i) {
    QTreeWidgetItem* child = parent->child(i);
    if (VornalDialog::KindOf(child) == kind && Folded(VornalDialog::NameOf(child)) == folded) {
      return child;
    }
  }
  return nullptr;
}

// Keys are listed before values, so a new key goes after the last key.
int KeyInsertIndex(const QTreeWidgetItem* parent) {
  int index = 0;
  while (index < parent->childCount() && IsKey(VornalDialog::KindOf(parent->child(index)))) {
    ++index;
  }
  return index;
}

}  // namespace

VornalDialog::VornalDialog(platform::Registry& registry, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent),
      editor_(registry),
      keyIcon_(KeyIcon()),
      valueIcon_(ValueIcon()),
      computerIcon_(ComputerIcon()),
      messages_(messages),
      tree_(new QTreeWidget(this)) {
  tree_->setHeaderHidden(true);
  tree_->setObjectName("registryTree");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_);
  CreateMenu();
  connect(tree_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { Activate(item); });
  connect(tree_, &QTreeWidget::itemExpanded, this, &VornalDialog::Activate);
  resize(420, 560);
  Start(registry);
}

VornalDialog::ItemKind VornalDialog::KindOf(const QTreeWidgetItem* item) {
  return ItemKind(item->data(0, kKindRole).toInt());
}

QString VornalDialog::NameOf(const QTreeWidgetItem* item) {
  return item->data(0, kNameRole).toString();
}

void VornalDialog::CreateMenu() {
  auto* bar = new QMenuBar(this);
  layout()->setMenuBar(bar);
  QMenu* registry = bar->addMenu(tr("Registry"));
  AddCommand(registry, tr("Find..."), Command::Find)->setShortcut(QKeySequence::Find);
  registry->addSeparator();
  AddCommand(registry, tr("New Key..."), Command::NewKey);
  QMenu* newValue = registry->addMenu(tr("New Value..."));
  AddCommand(newValue, tr("New DWORD..."), Command::NewDword);
  AddCommand(newValue, tr("New String..."), Command::NewString);
  AddCommand(newValue, tr("New Exp String..."), Command::NewExpString);
  AddCommand(newValue, tr("New Multi String..."), Command::NewMultiString);
  AddCommand(newValue, tr("New Binary..."), Command::NewBinary);
  registry->addSeparator();
  AddCommand(registry, tr("Delete Selected"), Command::DeleteSelected)
      ->setShortcut(QKeySequence::Delete);
  AddCommand(registry, tr("Refresh"), Command::Refresh)->setShortcut(QKeySequence::Refresh);
  registry->addSeparator();
  AddCommand(registry, tr("Exit"), Command::Exit);
  QMenu* help = bar->addMenu(tr("Help"));
  AddCommand(help, tr("About Vornal..."), Command::About);
  // No menu entries: keyboard only, as the device's rocker buttons were.
  AddCommand(this, QString(), Command::SelectPrevious)->setShortcut(Qt::CTRL | Qt::Key_Up);
  AddCommand(this, QString(), Command::SelectNext)->setShortcut(Qt::CTRL | Qt::Key_Down);
}

QAction* VornalDialog::AddCommand(QWidget* menu, const QString& text, Command command) {
  auto* action = new QAction(text, menu);
  action->setData(int(command));
  menu->addAction(action);
  connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
  actions_.insert(int(command), action);
  return action;
}

void VornalDialog::Start(const platform::Registry& registry) {
  setWindowTitle(ToQt(kWindowTitle));
  if (!registry.IsOpen()) {
    Fail("Cannot open the registry store:\n" + registry.OpenError());
    return;
  }
  auto* computer =
      MakeItem(ItemKind::Computer, ToQt(kComputerItemText), ToQt(kComputerItemText), computerIcon_);
  tree_->addTopLevelItem(computer);
  InsertRoots(computer);
  computer->setExpanded(true);
}

void VornalDialog::Fail(const std::string& message) {
  messages_.FatalError(ToQt(FatalErrorText(message)));
  failed_ = true;
  done(QDialog::Rejected);
}

void VornalDialog::RunCommand(Command command) {
  switch (command) {
    case Command::Find: Find(); break;
    case Command::NewKey: NewKey(); break;
    case Command::NewDword: NewValue(EditForm::ForNewDword()); break;
    case Command::NewString: NewValue(EditForm::ForNewString()); break;
    case Command::DeleteSelected: DeleteSelected(); break;
    case Command::Refresh: Refresh(); break;
    case Command::Exit: accept(); break;
    case Command::About: About(); break;
    case Command::SelectPrevious:
    case Command::SelectNext: SelectNeighbour(command); break;
    case Command::NewExpString:
    case Command::NewMultiString:
    case Command::NewBinary: break;  // these kinds of value are not created by the editor
  }
}

void VornalDialog::InsertRoots(QTreeWidgetItem* computer) {
  for (std::string_view name : kRootNames) {
    auto* root = MakeItem(ItemKind::Root, ToQt(name), ToQt(name), keyIcon_);
    if (computer) {
      computer->addChild(root);
    } else {
      tree_->addTopLevelItem(root);
    }
    if (editor_.HasChildren({std::string(name), {}})) AddPlaceholder(root);
  }
}

void VornalDialog::Activate(QTreeWidgetItem* item) {
  const ItemKind kind = KindOf(item);
  if (kind == ItemKind::Value) {
    EditValue(item);
  } else if (IsKey(kind)) {
    FillOneLevel(item);
  }
}

void VornalDialog::FillOneLevel(QTreeWidgetItem* key) {
  if (!IsUnfilled(key)) return;
  delete key->takeChild(0);
  const std::optional<KeyPath> path = PathOf(key);
  if (!path) return;
  const KeyContents contents = editor_.ReadKey(*path);
  for (const SubKeyEntry& entry : contents.subKeys) AddKeyItem(key, entry);
  for (const RegValue& value : contents.values) AddValueItem(key, value);
}

void VornalDialog::FillCompletely(QTreeWidgetItem* key) {
  FillOneLevel(key);
  for (int i = 0; i < key->childCount(); ++i) {
    if (KindOf(key->child(i)) == ItemKind::Key) FillCompletely(key->child(i));
  }
}

QTreeWidgetItem* VornalDialog::AddKeyItem(QTreeWidgetItem* parent, const SubKeyEntry& entry) {
  const QString name = ToQt(entry.name);
  auto* item = MakeItem(ItemKind::Key, name, name, keyIcon_);
  parent->insertChild(KeyInsertIndex(parent), item);
  if (entry.hasChildren) AddPlaceholder(item);
  return item;
}

void VornalDialog::AddPlaceholder(QTreeWidgetItem* key) {
  key->addChild(MakeItem(ItemKind::Placeholder, ToQt(kPlaceholderText), {}, keyIcon_));
}

QTreeWidgetItem* VornalDialog::AddValueItem(QTreeWidgetItem* parent, const RegValue& value) {
  auto* item = MakeItem(ItemKind::Value, ToQt(ValueLabel(value)), ToQt(value.name), valueIcon_);
  parent->addChild(item);
  return item;
}

std::optional<KeyPath> VornalDialog::PathOf(const QTreeWidgetItem* key) const {
  std::string path;
  for (const QTreeWidgetItem* item = key; item; item = item->parent()) {
    const ItemKind kind = KindOf(item);
    if (kind == ItemKind::Root) return KeyPath{FromQt(NameOf(item)), path};
    if (kind != ItemKind::Key) return {};
    const std::string name = FromQt(NameOf(item));
    path = path.empty() ? name : name + platform::kRegPathSeparator + path;
  }
  return {};
}

QTreeWidgetItem* VornalDialog::SelectedKeyItem() const {
  QTreeWidgetItem* item = tree_->currentItem();
  if (!item) return nullptr;
  const ItemKind kind = KindOf(item);
  if (kind == ItemKind::Value || kind == ItemKind::Placeholder) return item->parent();
  return IsKey(kind) ? item : nullptr;
}

void VornalDialog::EditValue(QTreeWidgetItem* item) {
  const std::optional<KeyPath> path = PathOf(item->parent());
  if (!path) return;
  const std::optional<RegValue> value = editor_.ReadValue(*path, FromQt(NameOf(item)));
  if (!value) return;
  const EditForm form = EditForm::ForValue(*value);
  EditDialog dialog(form, this);
  if (dialog.exec() != QDialog::Accepted) return;
  switch (editor_.WriteEdit(*path, *value, form, FromQt(dialog.Name()), FromQt(dialog.Data()))) {
    case WriteOutcome::TypeNotWritable: messages_.Information(ToQt(kTypeNotWritableMessage)); break;
    case WriteOutcome::Written:
      if (const std::optional<RegValue> written = editor_.ReadValue(*path, value->name)) {
        item->setText(0, ToQt(ValueLabel(*written)));
      }
      break;
    case WriteOutcome::NotWritten: ShowIfStoreRefused(); break;
  }
}

void VornalDialog::NewKey() {
  QTreeWidgetItem* target = SelectedKeyItem();
  const std::optional<KeyPath> path = target ? PathOf(target) : std::nullopt;
  if (!path) return;
  EditDialog dialog(EditForm::ForNewKey(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string name = FromQt(dialog.Name());
  if (const std::optional<SubKeyEntry> created = editor_.CreateKey(*path, name)) {
    FillOneLevel(target);
    QTreeWidgetItem* item = FindChild(target, ItemKind::Key, ToQt(created->name));
    const bool madeDeeperLevels = name.find(platform::kRegPathSeparator) != std::string::npos;
    if (!item) {
      item = AddKeyItem(target, *created);
    } else if (madeDeeperLevels) {
      // Its contents changed below: read them again, now if it is open, else on expanding.
      qDeleteAll(item->takeChildren());
      AddPlaceholder(item);
      if (item->isExpanded()) FillOneLevel(item);
    }
    tree_->setCurrentItem(item);
  } else {
    ShowIfStoreRefused();
  }
  target->setExpanded(true);
  FillOneLevel(target);
}

void VornalDialog::ShowIfStoreRefused() {
  if (editor_.StoreRefused()) messages_.Information(ToQt(kStoreRefusedMessage));
}

void VornalDialog::NewValue(const EditForm& form) {
  QTreeWidgetItem* target = SelectedKeyItem();
  const std::optional<KeyPath> path = target ? PathOf(target) : std::nullopt;
  if (!path) return;
  EditDialog dialog(form, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string name = FromQt(dialog.Name());
  const std::string data = FromQt(dialog.Data());
  const std::optional<RegValue> created = form.kind == EditForm::Kind::NewDword
                                              ? editor_.CreateDword(*path, name, data)
                                              : editor_.CreateString(*path, name, data);
  if (created) {
    FillOneLevel(target);
    QTreeWidgetItem* item = FindChild(target, ItemKind::Value, ToQt(name));
    if (item) {
      // The store keeps the old spelling of a name that differs only in case.
      item->setText(0, ToQt(ValueLabel({FromQt(NameOf(item)), created->type, created->data})));
    } else {
      item = AddValueItem(target, *created);
    }
    tree_->setCurrentItem(item);
  } else {
    ShowIfStoreRefused();
  }
  target->setExpanded(true);
  FillOneLevel(target);
}

void VornalDialog::DeleteSelected() {
  QTreeWidgetItem* item = tree_->currentItem();
  if (!item) return;
  switch (KindOf(item)) {
    case ItemKind::Root: messages_.Information(ToQt(kRootKeyMessage)); break;
    case ItemKind::Value: {
      const std::optional<KeyPath> path = PathOf(item->parent());
      const std::string name = FromQt(NameOf(item));
      if (path && messages_.Question(ToQt(DeleteValueQuestion(*path, name)))) {
        if (editor_.DeleteValue(*path, name)) {
          delete item;
        } else {
          ShowIfStoreRefused();
        }
      }
      break;
    }
    case ItemKind::Key: {
      const std::optional<KeyPath> path = PathOf(item);
      if (path && messages_.Question(ToQt(DeleteKeyQuestion(*path)))) {
        if (editor_.DeleteKey(*path)) {
          delete item;
        } else {
          ShowIfStoreRefused();
        }
      }
      break;
    }
    case ItemKind::Computer:
    case ItemKind::Placeholder: break;
  }
}

void VornalDialog::Refresh() {
  tree_->clear();
  InsertRoots(nullptr);
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) FillCompletely(tree_->topLevelItem(i));
}

void VornalDialog::Find() {
  FindDialog dialog(findOptions_, this);
  if (dialog.exec() == QDialog::Accepted) findOptions_ = dialog.Options();
}

void VornalDialog::About() { AboutDialog(windowTitle(), this).exec(); }

void VornalDialog::SelectNeighbour(Command direction) {
  QTreeWidgetItem* current = tree_->currentItem();
  if (!current) return;
  QTreeWidgetItem* next =
      direction == Command::SelectPrevious ? tree_->itemAbove(current) : tree_->itemBelow(current);
  if (next) tree_->setCurrentItem(next);
}

}  // namespace kelvara::vornal
