// Stands in for the handheld's word processor: shows an 8-bit Windows-1251 text file
// decoded, saves it under another name byte for byte, and prints it to PDF.
#pragma once

#include <QMainWindow>
#include <QString>

#include <filesystem>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPagedPaintDevice;
class QPrinter;
class QToolBar;

namespace kelvara::platform {

// The file as it lies on disk and its text for the screen.
class TextFile {
 public:
  bool Load(const std::filesystem::path& file, QString* error);
  // Writes the bytes as they were read, through a temporary file renamed over the target.
  bool SaveAs(const std::filesystem::path& file, QString* error) const;
  // Carriage returns of CR LF line ends are dropped; the bytes keep them.
  QString Text() const;
  const std::string& Bytes() const { return bytes_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::string bytes_;
};

class TextViewer : public QMainWindow {
  Q_OBJECT

 public:
  explicit TextViewer(QWidget* parent = nullptr);

  bool Open(const std::filesystem::path& file, QString* error);
  bool SaveAs(const std::filesystem::path& file, QString* error);
  bool PrintToPdf(const std::filesystem::path& file, QString* error);
  QString ShownText() const;
  // The next occurrence after the cursor, from the top again past the end; false when
  // the text has none. The match is selected.
  bool FindNext(const QString& text);
  // Larger or smaller type, by steps of one point.
  void Zoom(int steps);
  int PointSize() const;
  void Print(QPrinter& printer) const;
  // What "Сохранить как..." offers; the opened file itself when none is set.
  void SuggestSaveAs(const std::filesystem::path& file) { saveSuggestion_ = file; }
  std::filesystem::path SaveSuggestion() const { return saveSuggestion_.empty() ? file_.Path() : saveSuggestion_; }

 private:
  void ChooseSaveAs();
  void ChoosePrintToPdf();
  void ChoosePrinter();
  void ShowFindBar();
  // The document as it prints or goes to PDF.
  void PaintDocument(QPagedPaintDevice& device) const;
  void ShowError(const QString& error);

  TextFile file_;
  std::filesystem::path saveSuggestion_;
  QPlainTextEdit* view_;
  QToolBar* findBar_;
  QLineEdit* findText_;
};

// Opens a viewer window that deletes itself when closed; a file that cannot be read
// is reported in a message box and no window stays open.
TextViewer* OpenTextViewer(const std::filesystem::path& file, QWidget* parent = nullptr);

}  // namespace kelvara::platform
