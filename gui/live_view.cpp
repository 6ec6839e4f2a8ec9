#include "live_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tb::gui {

namespace {

// Item data of a cell's four borders: the pen width (0 none) and colour.
constexpr int kBorderRole = Qt::UserRole + 1;   // + 2 * edge (top, bottom, left, right), + 1 for the colour

QColor rgb(int32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

QStringList qt_strings(const std::vector<std::string>& texts) {
    QStringList out;
    for (const std::string& t : texts) out << QString::fromStdString(t);
    return out;
}

// Draws the cell, then its borders over the grid lines.
class BorderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        const QRect r = option.rect;
        const QLine lines[] = {{r.topLeft(), r.topRight()}, {r.bottomLeft(), r.bottomRight()},
                               {r.topLeft(), r.bottomLeft()}, {r.topRight(), r.bottomRight()}};
        for (int edge = 0; edge < 4; ++edge) {
            const int width = index.data(kBorderRole + 2 * edge).toInt();
            if (width <= 0) continue;
            p->save();
            p->setPen(QPen(index.data(kBorderRole + 2 * edge + 1).value<QColor>(), width));
            p->drawLine(lines[edge]);
            p->restore();
        }
    }
};

QTableWidgetItem* item_of(const tb::window::LiveCell& cell, const QFont& base) {
    auto* item = new QTableWidgetItem(QString::fromStdString(cell.text));
    if (cell.fill >= 0) item->setBackground(rgb(cell.fill));
    if (cell.bold || cell.font_scale != 1.0) {
        QFont f = base;
        f.setBold(cell.bold);
        f.setPointSizeF(base.pointSizeF() * cell.font_scale);
        item->setFont(f);
    }
    const bool right = cell.alignment == tb::window::Alignment::Right;
    item->setTextAlignment(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    for (int edge = 0; edge < 4; ++edge) {
        const tb::window::LiveEdge& e = cell.edges[static_cast<std::size_t>(edge)];
        if (e.width <= 0) continue;
        item->setData(kBorderRole + 2 * edge, e.width);
        item->setData(kBorderRole + 2 * edge + 1, rgb(e.color));
    }
    return item;
}

}  // namespace

LiveView::LiveView(QWidget* parent) : QWidget(parent) {
    setObjectName("live_view");
    sheet_ = new QLabel(this);
    const tb::window::LiveRows empty = tb::window::empty_live_rows();
    grid_ = new QTableWidget(0, static_cast<int>(empty.column_titles.size()), this);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setItemDelegate(new BorderDelegate(grid_));
    grid_->setHorizontalHeaderLabels(qt_strings(empty.column_titles));
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sheet_);
    layout->addWidget(grid_, 1);
}

void LiveView::show_rows(const tb::window::LiveRows& rows) {
    sheet_->setText(QString::fromStdString(rows.title));
    const int count = static_cast<int>(rows.cells.size());
    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(count);
    grid_->setVerticalHeaderLabels(qt_strings(rows.row_titles));
    for (int r = 0; r < count; ++r) {
        const auto& cells = rows.cells[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < cells.size(); ++c)
            if (!cells[c].blank) grid_->setItem(r, static_cast<int>(c), item_of(cells[c], grid_->font()));
    }
    grid_->setUpdatesEnabled(true);
    if (count > 0) grid_->scrollToBottom();
}

}  // namespace tb::gui
