#include "history/ui/RecordGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "history/RecordGridTexts.h"

namespace pq::history {

namespace {

constexpr int kColumnWidths[RecordGridTexts::kColumns] = {100, 100, 72, 111, 114, 115, 114, 115, 112};
constexpr int kRowHeight = 20;
constexpr int kTextOffset = 3;
constexpr int kTextMargin = 4;  // between a text's end and the next cell's border
constexpr int kOrderColumn = 2;

QColor channelColour(int column) {
  switch (column) {
    case 3:
    case 6:
      return QColor(128, 128, 0);
    case 4:
    case 7:
      return QColor(0, 128, 0);
    case 5:
    case 8:
      return QColor(255, 0, 0);
    default:
      return {};
  }
}

// Paints a cell as the grid shows it: fixed-looking cells on the button face, coloured channel texts,
// the text 3 pixels from the cell's corner.
class RecordCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int column = index.column();
    const bool fixedLook = column == 0 || column == kOrderColumn;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    QColor background = option.palette.color(fixedLook ? QPalette::Button : QPalette::Base);
    if (selected && !fixedLook) background = option.palette.color(QPalette::Highlight);
    painter->fillRect(option.rect, background);
    QColor text = channelColour(column);
    if (!text.isValid())
      text = option.palette.color(selected && !fixedLook ? QPalette::HighlightedText : QPalette::Text);
    painter->setPen(text);
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(kTextOffset, kTextOffset, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
    if (option.state.testFlag(QStyle::State_HasFocus)) {
      painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
      painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }
};

}  // namespace

RecordGrid::RecordGrid(QWidget* parent)
    : QTableWidget(RecordGridTexts::kRows - 1, RecordGridTexts::kColumns, parent) {
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  horizontalHeader()->setFont(bold);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setFixedHeight(kRowHeight + 2);
  for (int column = 0; column < RecordGridTexts::kColumns; ++column) {
    setColumnWidth(column, kColumnWidths[column]);
    setHorizontalHeaderItem(column, new QTableWidgetItem);
    for (int row = 1; row < RecordGridTexts::kRows; ++row) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      setItem(row - 1, column, item);
    }
  }
  setItemDelegate(new RecordCellDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move inside it
  setWordWrap(false);
  setAccessibleName(QStringLiteral("记录数据"));
  fitting_ = std::make_unique<ui::ColumnFitting>(*this, kTextOffset + kTextMargin);
}

void RecordGrid::showTexts(const RecordGridTexts& texts) {
  for (int column = 0; column < RecordGridTexts::kColumns; ++column) {
    horizontalHeaderItem(column)->setText(QString::fromStdString(texts.text(0, column)));
    for (int row = 1; row < RecordGridTexts::kRows; ++row) {
      QTableWidgetItem* cell = item(row - 1, column);
      const QString text = QString::fromStdString(texts.text(row, column));
      if (cell->text() == text) continue;
      cell->setText(text);
      fitting_->fit(column, text);
    }
  }
}

QString RecordGrid::cellText(int row, int column) const {
  return row == 0 ? horizontalHeaderItem(column)->text() : item(row - 1, column)->text();
}

}  // namespace pq::history
