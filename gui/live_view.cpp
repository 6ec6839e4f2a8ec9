#include "live_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace tb::gui {

namespace {

constexpr int kColumns = 31;   // A .. AE
constexpr int kMaxRows = 200;  // more would not fit on any screen
// Item data of a cell's four borders: the pen width (0 none) and colour.
constexpr int kBorderRole = Qt::UserRole + 1;   // + 2 * edge (top, bottom, left, right), + 1 for the colour

QString column_letter(int i) {
    if (i < 26) return QString(QChar('A' + i));
    return QStringLiteral("A") + QChar('A' + (i - 26));
}

QColor rgb(int32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

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
            const QVariant color = index.data(kBorderRole + 2 * edge + 1);
            p->save();
            p->setPen(QPen(color.isValid() ? color.value<QColor>() : QColor(Qt::black), width));
            p->drawLine(lines[edge]);
            p->restore();
        }
    }
};

QTableWidgetItem* item_of(const tb::app::SnapshotCell& cell, const QFont& base) {
    auto* item = new QTableWidgetItem(QString::fromStdString(cell.text));
    const wb::Style& s = cell.style;
    if (s.fill >= 0) item->setBackground(rgb(s.fill));
    if (s.bold || s.font_size != 11) {
        QFont f = base;
        f.setBold(s.bold);
        if (s.font_size != 11) f.setPointSizeF(base.pointSizeF() * s.font_size / 11.0);
        item->setFont(f);
    }
    const bool right = s.align_right || cell.number;
    item->setTextAlignment(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    const wb::BorderEdge* edges[] = {&s.top, &s.bottom, &s.left, &s.right};
    for (int edge = 0; edge < 4; ++edge) {
        const wb::BorderEdge& e = *edges[edge];
        if (!e.present()) continue;
        item->setData(kBorderRole + 2 * edge, e.weight == wb::xlMedium ? 2 : 1);
        if (e.color >= 0) item->setData(kBorderRole + 2 * edge + 1, rgb(e.color));
    }
    return item;
}

}  // namespace

LiveView::LiveView(QWidget* parent) : QWidget(parent) {
    setObjectName("liveView");
    sheet_ = new QLabel(this);
    sheet_->setObjectName("lblLiveSheet");
    grid_ = new QTableWidget(0, kColumns, this);
    grid_->setObjectName("grdLive");
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setItemDelegate(new BorderDelegate(grid_));
    QStringList headers;
    for (int i = 0; i < kColumns; ++i) headers << column_letter(i);
    grid_->setHorizontalHeaderLabels(headers);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sheet_);
    layout->addWidget(grid_, 1);
}

void LiveView::clear() {
    sheet_->clear();
    grid_->setRowCount(0);
}

void LiveView::show_snapshot(const tb::app::SheetSnapshot& s) {
    sheet_->setText(tr("Sheet \"%1\"").arg(QString::fromStdString(s.sheet)));
    const int total = static_cast<int>(std::min<std::size_t>(s.rows.size(), std::numeric_limits<int>::max()));
    const int skip = std::max(0, total - kMaxRows);
    const int count = total - skip;
    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(count);
    QStringList row_labels;
    for (int r = 0; r < count; ++r) {
        const auto& cells = s.rows[static_cast<std::size_t>(skip + r)];
        row_labels << QString::number(static_cast<int64_t>(s.first_row) + skip + r);
        const int n = static_cast<int>(std::min<std::size_t>(cells.size(), kColumns));
        for (int c = 0; c < n; ++c) {
            const auto& cell = cells[static_cast<std::size_t>(c)];
            if (!cell.text.empty() || cell.style != wb::Style{}) grid_->setItem(r, c, item_of(cell, grid_->font()));
        }
    }
    grid_->setVerticalHeaderLabels(row_labels);
    grid_->setUpdatesEnabled(true);
    if (count > 0) grid_->scrollToBottom();
}

}  // namespace tb::gui
