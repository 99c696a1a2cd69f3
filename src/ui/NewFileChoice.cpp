#include "ui/NewFileChoice.h"

#include <QFileInfo>

#include "ui/Prompter.h"

namespace pq::ui {

QString chooseNewFile(Prompter& prompter, QWidget* parent, const SaveDialogSettings& settings,
                      ExistingFileAnswer onExisting) {
  for (;;) {
    const QString path =
        prompter.chooseFileToSave(parent, settings.filter, settings.defaultSuffix, settings.proposedName);
    if (path.isEmpty()) return {};
    // A dangling link or a folder counts as taken too: writing there would replace or fail.
    const QFileInfo chosen(path);
    if (!chosen.exists() && !chosen.isSymLink()) return path;
    if (onExisting == ExistingFileAnswer::AskAgain &&
        !prompter.askOkCancel(parent, QStringLiteral("另存为"), QStringLiteral("文件已经存在，请重新输入文件名!"))) {
      return {};
    }
  }
}

}  // namespace pq::ui
