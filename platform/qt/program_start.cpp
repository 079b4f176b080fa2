#include "platform/qt/program_start.h"

#include <QFileInfo>

#include "platform/paths.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/text_viewer.h"

namespace kelvara::platform {
namespace {

// The handheld passes paths that contain blanks in double quotes.
QString Unquoted(const QString& commandLine) {
  const QString trimmed = commandLine.trimmed();
  if (trimmed.size() >= 2 && trimmed.startsWith('"') && trimmed.endsWith('"'))
    return trimmed.mid(1, trimmed.size() - 2);
  return trimmed;
}

bool IsProgram(const QString& program, const char* name) {
  return QFileInfo(QString(program).replace('\\', '/')).fileName().compare(name, Qt::CaseInsensitive) == 0;
}

}  // namespace

bool StartProgram(const QString& program, const QString& commandLine, QWidget* parent) {
  if (IsProgram(program, kWordProcessor)) {
    const std::filesystem::path file = MapDevicePath(Unquoted(commandLine).toStdString());
    return OpenTextViewer(file, parent) != nullptr;
  }
  if (IsProgram(program, kHelpProgram)) return ShowHelp(Unquoted(commandLine));
  return false;
}

}  // namespace kelvara::platform
