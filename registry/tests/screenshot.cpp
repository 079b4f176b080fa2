// Draws the main window over a sample registry into the PNG file named on the command
// line (docs/vornal.png), using the offscreen platform; no display is needed.
#include <QApplication>
#include <QTreeWidget>
#include <cstdio>

#include "platform/registry.h"
#include "platform/tests/scratch_dir.h"
#include "registry/message_boxes.h"
#include "registry/vornal_dialog.h"

namespace {

using namespace kelvara::platform;

void Set(Registry& registry, std::string_view path, std::string_view name, RegType type,
         const std::string& data) {
  ScopedRegKey key(registry);
  registry.CreateKey(HKEY_CURRENT_USER, path, key.Out());
  registry.SetValue(key.Get(), name, type, data);
}

void FillSample(Registry& registry) {
  const std::string settings = "Software\\Kelvara\\Kelvara\\Settings";
  Set(registry, settings, "b_ViewCircle", REG_DWORD, RegDwordData(1));
  Set(registry, settings, "b_West", REG_DWORD, RegDwordData(1));
  Set(registry, settings, "SysHouse", REG_DWORD, RegDwordData(0));
  Set(registry, settings, "sLastNowPlace", REG_SZ, RegSzData("Москва"));
  Set(registry, settings, "Man.FName", REG_SZ, RegSzData("/home/astro/Карты/Иван.kvd"));
  Set(registry, "Software\\Kelvara\\Kelvara\\Recent File List", "File1", REG_SZ,
      RegSzData("/home/astro/Карты/Иван.kvd"));
  Set(registry, "Software\\Vornal", "Window", REG_BINARY, std::string("\x10\x02", 2));
  Set(registry, "Control Panel\\Desktop", "Wallpaper", REG_EXPAND_SZ, RegSzData("%HOME%"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s out.png\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvara::platform::test_support::ScratchDir dir;
  Registry registry(dir / "registry.db");
  FillSample(registry);
  kelvara::vornal::QtMessageBoxes messages;
  kelvara::vornal::VornalDialog dialog(registry, messages);
  QTreeWidgetItem* item = dialog.Tree()->topLevelItem(0)->child(1);
  for (const char* name : {"Software", "Kelvara", "Kelvara", "Settings"}) {
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
      if (item->child(i)->text(0) == name) {
        item = item->child(i);
        break;
      }
    }
  }
  item->setExpanded(true);
  dialog.Tree()->setCurrentItem(item->child(item->childCount() - 1));
  dialog.resize(420, 460);
  dialog.show();
  return dialog.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
