#include "serial/ui/CommSettingsDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <exception>

#include "serial/CommSerialPortInfo.h"
#include "serial/CommSettingsTexts.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"

namespace pq::OstrelComm32 {

namespace {

namespace t = settingsTexts;

QString text(int index) {
  const auto s = commSettingsText(index, AppLang.fGetLangType());
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The dialog's own widths. The caption column grows past 62 pixels when a language's captions need
// more, a group's fields grow past 100 pixels when a list's longest item needs more, and the groups
// and the dialog grow with them.
constexpr int kCaptionWidth = 62, kFieldWidth = 100, kLineHeight = 21, kPortGroupWidth = 186,
              kSideGroupWidth = 185, kDialogHeight = 228;

int captionWidth(const QFontMetrics& metrics) {
  int widest = kCaptionWidth;
  for (const int label : {t::port, t::baud, t::parity, t::byteSize, t::stopBits, t::flowControl,
                          t::autoAnswer, t::inBuf, t::outBuf})
    widest = std::max(widest, metrics.horizontalAdvance(text(label)) + 2);
  return widest;
}

int fieldWidth(const QGroupBox& box) {
  int widest = kFieldWidth;
  for (const QComboBox* combo : box.findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly))
    widest = std::max(widest, combo->sizeHint().width());
  return widest;
}

void setLineWidths(QGroupBox& box, int labelWidth, int fieldWidth) {
  for (QLabel* caption : box.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
    caption->resize(labelWidth, kLineHeight);
    caption->buddy()->setGeometry(12 + labelWidth, caption->y(), fieldWidth, kLineHeight);
  }
}

QGroupBox* group(QWidget* parent, int title) { return new QGroupBox(text(title), parent); }

// A label and its field on one line of a group; the label names the field for screen readers.
template <class Field>
Field* row(QGroupBox* box, int label, int line, const QString& objectName) {
  auto* caption = new QLabel(text(label), box);
  caption->move(10, 22 + 30 * line);
  auto* field = new Field(box);
  field->setObjectName(objectName);
  caption->setBuddy(field);
  field->setAccessibleName(caption->text());
  return field;
}

QComboBox* list(QGroupBox* box, int label, int line, const QString& objectName, const QStringList& items) {
  auto* combo = row<QComboBox>(box, label, line, objectName);
  combo->addItems(items);
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 8);
  return combo;
}

QStringList texts(std::initializer_list<int> indexes) {
  QStringList items;
  for (const int index : indexes) items << text(index);
  return items;
}

}  // namespace

CommSettingsDialog::CommSettingsDialog(QWidget* owner, ui::Prompter& prompter, bool editableBaud)
    : QDialog(owner), prompter_(prompter) {
  QFont dialogFont = font();
  dialogFont.setPointSize(AppLang.fGetFontSize());
  setFont(dialogFont);
  setWindowTitle(text(t::caption));
  ports_ = TCommSerialPortInfo().Ports();
  QStringList ports;
  for (const auto& port : ports_) ports << QString::fromStdString(port);
  auto* portGroup = group(this, t::portGroup);
  portList_ = list(portGroup, t::port, 0, "portList", ports);
  baudList_ = list(portGroup, t::baud, 1, "baudList",
                   {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                    "57600", "115200", "128000", "256000"});
  if (editableBaud) {
    baudList_->setEditable(true);
    baudList_->setInsertPolicy(QComboBox::NoInsert);
    baudList_->lineEdit()->installEventFilter(this);
  }
  parityList_ = list(portGroup, t::parity, 2, "parityList",
                     texts({t::noParity, t::oddParity, t::evenParity, t::markParity, t::spaceParity}));
  byteSizeList_ = list(portGroup, t::byteSize, 3, "byteSizeList", {"5", "6", "7", "8"});
  stopBitsList_ = list(portGroup, t::stopBits, 4, "stopBitsList", {"1", "1.5", "2"});

  auto* modemGroup = group(this, t::modemGroup);
  flowList_ = list(modemGroup, t::flowControl, 0, "flowList",
                   texts({t::flowNone, t::flowRtsCts, t::flowXonXoff, t::flowBoth}));
  autoAnswer_ = row<QLineEdit>(modemGroup, t::autoAnswer, 1, "autoAnswerEdit");

  auto* bufferGroup = group(this, t::bufferGroup);
  inBufSize_ = row<QLineEdit>(bufferGroup, t::inBuf, 0, "inBufEdit");
  outBufSize_ = row<QLineEdit>(bufferGroup, t::outBuf, 1, "outBufEdit");

  const int labelWidth = captionWidth(QFontMetrics(dialogFont));
  const int portFields = fieldWidth(*portGroup);
  const int sideFields = std::max(fieldWidth(*modemGroup), fieldWidth(*bufferGroup));
  for (QGroupBox* box : {modemGroup, bufferGroup}) setLineWidths(*box, labelWidth, sideFields);
  setLineWidths(*portGroup, labelWidth, portFields);
  const int portWidth = kPortGroupWidth + labelWidth - kCaptionWidth + portFields - kFieldWidth;
  const int sideWidth = kSideGroupWidth + labelWidth - kCaptionWidth + sideFields - kFieldWidth;
  portGroup->setGeometry(8, 6, portWidth, 180);
  modemGroup->setGeometry(14 + portWidth, 6, sideWidth, 82);
  bufferGroup->setGeometry(14 + portWidth, 96, sideWidth, 90);
  const int width = 22 + portWidth + sideWidth;
  setFixedSize(width, kDialogHeight);

  fields_ = {portList_, baudList_,   parityList_, byteSizeList_, stopBitsList_,
             flowList_, autoAnswer_, inBufSize_,  outBufSize_};
  for (QWidget* f : fields_) f->installEventFilter(this);

  ok_ = new QPushButton(text(t::ok), this);
  ok_->setObjectName("okButton");
  ok_->setGeometry(width / 2 - 60 - 37, 194, 75, 25);
  ok_->setDefault(true);
  auto* cancel = new QPushButton(text(t::cancel), this);
  cancel->setObjectName("cancelButton");
  cancel->setGeometry(width / 2 + 60 - 37, 194, 75, 25);
  connect(ok_, &QPushButton::clicked, this, &CommSettingsDialog::Btn_OkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  ui::centreOnScreen(*this);
}

void CommSettingsDialog::showEntry(const CommSettingsEntry& entry) {
  portList_->setCurrentIndex(portList_->findText(QString::fromStdString(entry.portText)));
  if (entry.baudText) {
    baudList_->setEditText(QString::fromStdString(*entry.baudText));
  } else {
    baudList_->setCurrentIndex(entry.baudItem);
  }
  parityList_->setCurrentIndex(entry.parityItem);
  byteSizeList_->setCurrentIndex(entry.byteSizeItem);
  stopBitsList_->setCurrentIndex(entry.stopBitsItem);
  flowList_->setCurrentIndex(entry.flowItem);
  autoAnswer_->setText(QString::fromStdString(entry.autoAnswer));
  inBufSize_->setText(QString::fromStdString(entry.inBufSize));
  outBufSize_->setText(QString::fromStdString(entry.outBufSize));
}

CommSettingsEntry CommSettingsDialog::entry() const {
  CommSettingsEntry e;
  if (portList_->currentIndex() >= 0) e.portText = portList_->currentText().toStdString();
  if (baudList_->isEditable()) {
    e.baudText = baudList_->currentText().toStdString();
  } else {
    e.baudItem = baudList_->currentIndex();
  }
  e.parityItem = parityList_->currentIndex();
  e.byteSizeItem = byteSizeList_->currentIndex();
  e.stopBitsItem = stopBitsList_->currentIndex();
  e.flowItem = flowList_->currentIndex();
  e.autoAnswer = autoAnswer_->text().toStdString();
  e.inBufSize = inBufSize_->text().toStdString();
  e.outBufSize = outBufSize_->text().toStdString();
  return e;
}

bool CommSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Btn_OkClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CommSettingsDialog::Btn_OkClick() {
  // Enter moves through the fields; only the last field and the buttons go on.
  QWidget* focus = focusWidget();
  if (focus == baudList_->lineEdit()) focus = baudList_;
  for (std::size_t i = 0; i + 1 < fields_.size(); ++i) {
    if (focus == fields_[i]) {
      fields_[i + 1]->setFocus();
      return;
    }
  }
  const CommSettingsEntry e = entry();
  if (const auto problem = validateCommSettings(e)) {
    field(problem->field).setFocus();
    prompter_.showStop(this, windowTitle(), text(problem->textIndex));
    return;
  }
  try {
    apply(e);
  } catch (const std::exception& error) {
    portList_->setFocus();
    prompter_.showStop(this, windowTitle(), QString::fromUtf8(error.what()));
    return;
  }
  accept();
}

}  // namespace pq::OstrelComm32
