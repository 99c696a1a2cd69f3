#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace pq::ui {

// The lowest and highest page number a print dialog accepts.
struct PageBounds {
  int first = 0;
  int last = 9999;
};

// The one door through which windows ask the operator something: message boxes, questions and
// file dialogs. The application uses the Qt dialogs; tests script the answers and read the texts.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // A plain message box with the application title as caption, no icon and one OK button.
  virtual void showMessage(QWidget* parent, const QString& text) = 0;
  // A message box with its own caption, a warning icon and one OK button.
  virtual void showWarning(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The central error report: the text of an error that stopped an action.
  virtual void showError(QWidget* parent, const QString& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The path of an existing file the operator chose, or an empty text when cancelled. `filter` is
  // in Qt's form ("Description (*.ext);;...").
  virtual QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) = 0;
  // Several existing files the operator chose at once, or the one folder chosen instead (the caller
  // decides what a folder stands for); an empty list when cancelled.
  virtual QStringList chooseFilesOrFolder(QWidget* parent, const QString& caption, const QString& filter) = 0;

  // A message box with its own caption, the stop (critical) icon and one OK button.
  virtual void showStop(QWidget* parent, const QString& caption, const QString& text) = 0;
  // An OK/Cancel question; true for OK.
  virtual bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The path the operator chose in a save-file dialog, or an empty text when cancelled. The dialog
  // proposes `proposedName` and appends `defaultSuffix` (without the dot) to a name typed without
  // one, or the suffix of the file type the operator chose in the dialog where that type has one;
  // a name typed with a suffix of no type of the list takes the chosen type's after it
  // (pathOfChosenType), so that the name says what the caller writes. It does not ask about existing files: callers decide (see
  // chooseNewFile).
  virtual QString chooseFileToSave(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                   const QString& proposedName) = 0;
  // The system print dialog on `printer`; true when the operator confirms. The printer carries
  // the chosen settings afterwards. `pages` bounds the page range the operator may enter; the
  // dialog also offers printing to a PDF file.
  virtual bool runPrintDialog(QWidget* parent, QPrinter& printer, PageBounds pages = {}) = 0;
  // A message box with its own caption, the information icon and one OK button.
  virtual void showInformation(QWidget* parent, const QString& caption, const QString& text) = 0;
};

}  // namespace pq::ui
