#include "live_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace tb::gui {

namespace {

constexpr int kColumns = 31;   // A .. AE
constexpr int kMaxRows = 200;  // more would not fit on any screen

QString column_letter(int i) {
    if (i < 26) return QString(QChar('A' + i));
    return QStringLiteral("A") + QChar('A' + (i - 26));
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
            const auto& text = cells[static_cast<std::size_t>(c)];
            if (!text.empty())
                grid_->setItem(r, c, new QTableWidgetItem(QString::fromStdString(text)));
        }
    }
    grid_->setVerticalHeaderLabels(row_labels);
    grid_->setUpdatesEnabled(true);
    if (count > 0) grid_->scrollToBottom();
}

}  // namespace tb::gui
