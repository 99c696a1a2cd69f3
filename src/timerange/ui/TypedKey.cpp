#include "timerange/ui/TypedKey.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace pq::ui {

namespace {

char32_t typedKey(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) return kBackspaceKey;
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return kEnterKey;
  const QString text = key.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return 0;
  return text.toUcs4().value(0);
}

class KeyRuleFilter : public QObject {
 public:
  KeyRuleFilter(QLineEdit& field, KeyRule rule, std::function<void()> validate)
      : QObject(&field), field_(field), rule_(std::move(rule)), validate_(std::move(validate)) {}

  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        return keyPressed(*static_cast<QKeyEvent*>(event));
      case QEvent::InputMethod: {
        auto& input = *static_cast<QInputMethodEvent*>(event);
        if (!field_.isReadOnly() && !input.commitString().isEmpty()) {
          input.setCommitString(admitted(input.commitString()), input.replacementStart(),
                                input.replacementLength());
        }
        return false;
      }
      case QEvent::MouseButtonRelease: {
        // Where the system has a selection clipboard, the middle button pastes it.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
            !QGuiApplication::clipboard()->supportsSelection())
          return false;
        field_.deselect();
        paste(QClipboard::Selection);
        return true;
      }
      case QEvent::Drop:
        return dropped(*static_cast<QDropEvent*>(event));
      case QEvent::ContextMenu:
        showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
      default:
        return false;
    }
  }

 private:
  bool keyPressed(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Paste)) {
      paste(QClipboard::Clipboard);
      return true;
    }
    const char32_t typed = typedKey(key);
    if (typed == 0) return false;
    switch (rule_(field_.text(), typed)) {
      case KeyAction::Drop:
        return true;
      case KeyAction::Accept:
        return false;
      case KeyAction::AcceptAndValidate:
        if (validate_) validate_();
        return true;
    }
    return false;
  }

  // What of `text` the rule lets in when it is typed at `at` over `replaced` characters, one
  // character after the other; the first one still sees the text it replaces, as a typed key does.
  QString admitted(const QString& text, int at, int replaced) const {
    QString shown = field_.text();
    QString kept;
    for (const char32_t c : text.toUcs4()) {
      if (!QChar::isPrint(c) || rule_(shown, c) == KeyAction::Drop) continue;
      const QString typed = QString::fromUcs4(&c, 1);
      shown.replace(at, replaced, typed);
      at += static_cast<int>(typed.size());
      replaced = 0;
      kept += typed;
    }
    return kept;
  }

  QString admitted(const QString& text) const {
    if (field_.hasSelectedText())
      return admitted(text, field_.selectionStart(), static_cast<int>(field_.selectedText().size()));
    return admitted(text, field_.cursorPosition(), 0);
  }

  void paste(QClipboard::Mode mode) {
    if (field_.isReadOnly()) return;
    // Nothing admitted leaves the field as a dropped key does, a selection included.
    const QString kept = admitted(QGuiApplication::clipboard()->text(mode));
    if (!kept.isEmpty()) field_.insert(kept);
  }

  bool dropped(QDropEvent& drop) {
    if (forwarding_ || field_.isReadOnly() || !drop.mimeData()->hasText()) return false;
    const int at = field_.cursorPositionAt(drop.position().toPoint());
    QMimeData kept;
    kept.setText(admitted(drop.mimeData()->text(), at, 0));
    if (kept.text().isEmpty()) {
      drop.setDropAction(Qt::IgnoreAction);
      drop.ignore();
      return true;
    }
    QDropEvent keptDrop(drop.position(), drop.possibleActions(), &kept, drop.buttons(), drop.modifiers());
    keptDrop.setDropAction(drop.dropAction());
    forwarding_ = true;
    QCoreApplication::sendEvent(&field_, &keptDrop);
    forwarding_ = false;
    drop.setDropAction(keptDrop.dropAction());
    drop.setAccepted(keptDrop.isAccepted());
    return true;
  }

  // The field's own menu, whose Paste goes through the rule.
  void showMenu(const QPoint& at) {
    QMenu* menu = field_.createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
      if (action->text().section(QLatin1Char('\t'), 0, 0) != QLineEdit::tr("&Paste")) continue;
      QObject::disconnect(action, nullptr, &field_, nullptr);
      connect(action, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
    }
    menu->popup(at);
  }

  QLineEdit& field_;
  KeyRule rule_;
  std::function<void()> validate_;
  bool forwarding_ = false;  // set while the admitted part of a drop goes to the field
};

}  // namespace

void holdToKeyRule(QLineEdit& field, KeyRule rule, std::function<void()> validate) {
  field.installEventFilter(new KeyRuleFilter(field, std::move(rule), std::move(validate)));
}

}  // namespace pq::ui
