// The file-open dialog in the shape the connection page drives it: file
// name, option flags, title and a "description|pattern|..." filter are
// set one by one, then showOpen() waits for the user. Showing goes
// through FileOpenDialog so that tests can answer in the user's place.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace pages {

// The published common-dialog option flags the program passes.
enum CommonDialogFlag : int {
  kOfnReadOnly = 0x1,        // the read-only box starts ticked
  kOfnExplorer = 0x80000,    // Explorer-style dialog
  kOfnLongNames = 0x200000,  // long file names
};

struct FileOpenRequest {
  QString title;
  QStringList nameFilters;  // in Qt's "Description (patterns)" form
  int flags = 0;
};

class FileOpenDialog {
 public:
  virtual ~FileOpenDialog() = default;
  // The chosen file's full path, or the empty text when cancelled.
  virtual QString chooseFile(QWidget* owner, const FileOpenRequest& request) = 0;
};

// QFileDialog. Explorer style and long names are all it knows; the
// read-only flag keeps the dialog from renaming or deleting files.
class QtFileOpenDialog final : public FileOpenDialog {
 public:
  QString chooseFile(QWidget* owner, const FileOpenRequest& request) override;
};

// "All (*.a,*.b)|*.*b|B files|*.b|" becomes {"All (*.a,*.b) (*.*b)", "B files (*.b)"}.
// Patterns separated by ';' become blank-separated; a description without
// a pattern is dropped.
QStringList NameFiltersFromCommonDialogFilter(const QString& filter);

class CommonDialog {
 public:
  CommonDialog(FileOpenDialog& dialog, QWidget* owner) : dialog_(dialog), owner_(owner) {}

  void setFileName(const QString& name) { fileName_ = name; }
  const QString& fileName() const { return fileName_; }
  void setFlags(int flags) { flags_ = flags; }
  void setDialogTitle(const QString& title) { title_ = title; }
  void setFilter(const QString& filter) { filter_ = filter; }

  // Cancel leaves the file name empty.
  void showOpen();

 private:
  FileOpenDialog& dialog_;
  QWidget* owner_;
  QString fileName_;
  int flags_ = 0;
  QString title_;
  QString filter_;
};

}  // namespace pages
