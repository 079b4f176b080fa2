#include "app/cli/picture_file.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <array>
#include <cstdlib>

#include "platform/glyph.h"
#include "platform/qt/qt_canvas.h"

namespace kelvara::cli {
namespace {

constexpr const char* kFontsFolder = "fonts";
constexpr int kMinSide = 100;
constexpr int kMaxSide = 8000;

struct FormatName {
  PictureFormat format;
  const char* name;
};
constexpr std::array<FormatName, 3> kFormats = {{{PictureFormat::kPng, "png"},
                                                 {PictureFormat::kSvg, "svg"},
                                                 {PictureFormat::kPdf, "pdf"}}};

std::optional<PictureFormat> FormatNamed(const QString& name) {
  for (const FormatName& known : kFormats) {
    if (name.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0) return known.format;
  }
  return std::nullopt;
}

Result<PictureFormat> FormatOf(const std::optional<std::string>& format, const std::string& path) {
  if (!format) return {FormatNamed(QFileInfo(QString::fromStdString(path)).suffix()).value_or(PictureFormat::kPng), {}};
  if (const auto named = FormatNamed(QString::fromStdString(*format))) return {*named, {}};
  return Result<PictureFormat>::Fail("формат должен быть png, svg или pdf");
}

Result<int> SideOf(const std::optional<std::string>& size, int defaultSide) {
  if (!size) return {defaultSide, {}};
  const auto side = WholeNumber(*size);
  if (!side || *side < kMinSide || *side > kMaxSide) {
    return Result<int>::Fail("неверный параметр --size \"" + *size + "\": нужно от " + std::to_string(kMinSide) +
                             " до " + std::to_string(kMaxSide));
  }
  return {*side, {}};
}

// Qt's notes about its surroundings (in English, on the runtime folder and the like) are
// none of the command's messages.
void IgnoreQtNote(QtMsgType, const QMessageLogContext&, const QString&) {}

// The application the canvas needs, made once for the process and never destroyed, as
// Qt's own statics may outlive it. Offscreen, so that no display is needed or used.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(IgnoreQtNote);
  static int argc = 1;
  static char name[] = "kelvara-cli";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

// The program's fonts; a missing glyph font is said, and other faces stand in for it.
void RegisterProgramFonts(const std::filesystem::path& dataDir, std::string_view command, std::ostream& err) {
  const std::filesystem::path folder = dataDir / kFontsFolder;
  platform::RegisterFontFiles(folder);
  const QString glyphFace = QLatin1String(platform::kGlyphFace);
  if (platform::ResolveFontFamily(glyphFace).compare(glyphFace, Qt::CaseInsensitive) != 0) {
    err << command << "предупреждение: нет шрифта знаков " << platform::kGlyphFace << " в папке "
        << folder.string() << ", знаки нарисованы другим шрифтом\n";
  }
}

}  // namespace

Result<PictureFile> PictureFileOf(const std::string& path, const std::optional<std::string>& format,
                                  const std::optional<std::string>& side, int defaultSide) {
  const auto formatOf = FormatOf(format, path);
  if (!formatOf.value) return {std::nullopt, formatOf.failure};
  const auto sideOf = SideOf(side, defaultSide);
  if (!sideOf.value) return {std::nullopt, sideOf.failure};
  return {PictureFile{path, *formatOf.value, *sideOf.value}, {}};
}

void PrepareHeadlessDrawing(const std::filesystem::path& dataDir, std::string_view command, std::ostream& err) {
  EnsureGuiApplication();
  RegisterProgramFonts(dataDir, command, err);
}

bool ExportPicture(const PictureFile& picture, const PictureDrawing& draw, const std::string& title) {
  const platform::Size size{picture.side, picture.side};
  const QString file = QString::fromStdString(picture.path);
  switch (picture.format) {
    case PictureFormat::kSvg: return platform::ExportPictureSvg(draw, size, file, QString::fromStdString(title));
    case PictureFormat::kPdf: return platform::ExportPicturePdf(draw, size, file, QString::fromStdString(title));
    case PictureFormat::kPng: break;
  }
  return platform::ExportPicturePng(draw, size, file);
}

}  // namespace kelvara::cli
