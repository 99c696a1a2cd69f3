#pragma once

#include <QString>

class QWidget;

namespace pq::ui {

class Prompter;

// The settings a save-file dialog gets before every save: filter in Qt's form, default suffix
// without the dot, proposed file name.
struct SaveDialogSettings {
  QString filter;
  QString defaultSuffix;
  QString proposedName;
};

// What happens when the operator picks a file that exists already.
enum class ExistingFileAnswer {
  // "另存为" / "文件已经存在，请重新输入文件名!" with OK (choose again) and Cancel (stop).
  AskAgain,
  // The dialog opens again without a word, until a new name is chosen or it is cancelled.
  SilentlyAgain,
};

// Runs the save dialog until the operator picks a file that does not exist yet; an empty text
// when he cancels. Existing files are never offered to the caller, so they are never overwritten.
QString chooseNewFile(Prompter& prompter, QWidget* parent, const SaveDialogSettings& settings,
                      ExistingFileAnswer onExisting);

}  // namespace pq::ui
