#include "platform/qt/text_viewer.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSize>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>

#include "platform/codepage.h"
#include "platform/file_io.h"

namespace kelvara::platform {
namespace {

// The interpretation texts are a few hundred kilobytes; anything far larger is not one.
constexpr std::uintmax_t kLargestTextFile = 16u * 1024u * 1024u;
constexpr int kPdfResolution = 300;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 800;
constexpr int kSmallestPointSize = 6;
constexpr int kStatusTimeoutMs = 3000;

QString FromPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }
std::filesystem::path ToPath(const QString& file) { return std::filesystem::path(file.toStdString()); }

QString SystemReason(const std::error_code& error) { return QString::fromStdString(error.message()); }

}  // namespace

bool TextFile::Load(const std::filesystem::path& file, QString* error) {
  std::error_code reason;
  auto bytes = ReadFileBytes(file, reason, kLargestTextFile);
  if (!bytes) {
    *error = QObject::tr("Не удалось открыть файл \"%1\": %2").arg(FromPath(file), SystemReason(reason));
    return false;
  }
  path_ = file;
  bytes_ = std::move(*bytes);
  return true;
}

bool TextFile::SaveAs(const std::filesystem::path& file, QString* error) const {
  std::error_code reason;
  if (WriteFileAtomically(file, bytes_, reason)) return true;
  *error = QObject::tr("Не удалось сохранить файл \"%1\": %2").arg(FromPath(file), SystemReason(reason));
  return false;
}

QString TextFile::Text() const {
  const std::string utf8 = Cp1251ToUtf8(bytes_);
  return QString::fromStdString(utf8).replace("\r\n", "\n");
}

TextViewer::TextViewer(QWidget* parent)
    : QMainWindow(parent), view_(new QPlainTextEdit(this)), findBar_(new QToolBar(this)), findText_(new QLineEdit) {
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setCentralWidget(view_);
  QMenu* fileMenu = menuBar()->addMenu(tr("Файл"));
  fileMenu->addAction(tr("Сохранить как..."), QKeySequence::SaveAs, this, &TextViewer::ChooseSaveAs);
  fileMenu->addAction(tr("Печать..."), QKeySequence::Print, this, &TextViewer::ChoosePrinter);
  fileMenu->addAction(tr("Печать в PDF..."), this, &TextViewer::ChoosePrintToPdf);
  fileMenu->addSeparator();
  fileMenu->addAction(tr("Закрыть"), QKeySequence::Close, this, &QWidget::close);
  QMenu* editMenu = menuBar()->addMenu(tr("Правка"));
  editMenu->addAction(tr("Копировать"), QKeySequence::Copy, view_, &QPlainTextEdit::copy);
  editMenu->addAction(tr("Найти..."), QKeySequence::Find, this, &TextViewer::ShowFindBar);
  editMenu->addAction(tr("Найти далее"), QKeySequence::FindNext, this, [this] { FindNext(findText_->text()); });
  QMenu* viewMenu = menuBar()->addMenu(tr("Вид"));
  viewMenu->addAction(tr("Крупнее"), QKeySequence::ZoomIn, this, [this] { Zoom(1); });
  viewMenu->addAction(tr("Мельче"), QKeySequence::ZoomOut, this, [this] { Zoom(-1); });
  findText_->setPlaceholderText(tr("Найти"));
  findBar_->addWidget(findText_);
  findBar_->setMovable(false);
  findBar_->hide();
  addToolBar(Qt::BottomToolBarArea, findBar_);
  connect(findText_, &QLineEdit::returnPressed, this, [this] { FindNext(findText_->text()); });
  resize(kDefaultWidth, kDefaultHeight);
}

bool TextViewer::Open(const std::filesystem::path& file, QString* error) {
  if (!file_.Load(file, error)) return false;
  view_->setPlainText(file_.Text());
  setWindowTitle(FromPath(file.filename()));
  return true;
}

bool TextViewer::SaveAs(const std::filesystem::path& file, QString* error) {
  return file_.SaveAs(file, error);
}

void TextViewer::PaintDocument(QPagedPaintDevice& device) const {
  QTextDocument document;
  document.setDefaultFont(view_->font());
  document.setPlainText(file_.Text());
  document.print(&device);
}

void TextViewer::Print(QPrinter& printer) const { PaintDocument(printer); }

bool TextViewer::PrintToPdf(const std::filesystem::path& file, QString* error) {
  QSaveFile output(FromPath(file));
  if (output.open(QIODevice::WriteOnly)) {
    QPdfWriter writer(&output);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(windowTitle());
    PaintDocument(writer);
  }
  if (output.commit()) return true;
  *error = tr("Не удалось сохранить файл \"%1\": %2").arg(FromPath(file), output.errorString());
  return false;
}

QString TextViewer::ShownText() const { return view_->toPlainText(); }

bool TextViewer::FindNext(const QString& text) {
  if (text.isEmpty()) return false;
  if (view_->find(text)) return true;
  QTextCursor top = view_->textCursor();
  top.movePosition(QTextCursor::Start);
  view_->setTextCursor(top);
  if (view_->find(text)) return true;
  statusBar()->showMessage(tr("Не найдено: %1").arg(text), kStatusTimeoutMs);
  return false;
}

void TextViewer::Zoom(int steps) {
  QFont font = view_->font();
  font.setPointSize(std::max(kSmallestPointSize, font.pointSize() + steps));
  view_->setFont(font);
}

int TextViewer::PointSize() const { return view_->font().pointSize(); }

void TextViewer::ShowFindBar() {
  findBar_->show();
  findText_->setFocus();
  findText_->selectAll();
}

void TextViewer::ChoosePrinter() {
  QPrinter printer;
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) Print(printer);
}

void TextViewer::ChooseSaveAs() {
  const QString file = QFileDialog::getSaveFileName(this, tr("Сохранить как"), FromPath(SaveSuggestion()),
                                                    tr("Текст (*.txt);;Все файлы (*)"));
  QString error;
  if (!file.isEmpty() && !SaveAs(ToPath(file), &error)) ShowError(error);
}

void TextViewer::ChoosePrintToPdf() {
  std::filesystem::path suggestion = file_.Path();
  suggestion.replace_extension(".pdf");
  const QString file =
      QFileDialog::getSaveFileName(this, tr("Печать в PDF"), FromPath(suggestion), tr("PDF (*.pdf)"));
  QString error;
  if (!file.isEmpty() && !PrintToPdf(ToPath(file), &error)) ShowError(error);
}

void TextViewer::ShowError(const QString& error) { QMessageBox::warning(this, windowTitle(), error); }

TextViewer* OpenTextViewer(const std::filesystem::path& file, QWidget* parent) {
  auto* viewer = new TextViewer(parent);
  viewer->setAttribute(Qt::WA_DeleteOnClose);
  QString error;
  if (!viewer->Open(file, &error)) {
    QMessageBox::warning(parent, QObject::tr("Кельвара"), error);
    delete viewer;
    return nullptr;
  }
  viewer->show();
  return viewer;
}

}  // namespace kelvara::platform
