// The live view's rows drawn with Qt: a heading naming the sheet and a
// read-only grid, each cell as the window model describes it.
#pragma once

#include "window/live_rows.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace tb::gui {

class LiveView : public QWidget {
    Q_OBJECT

public:
    explicit LiveView(QWidget* parent = nullptr);

    void show_rows(const tb::window::LiveRows& rows);
    QLabel* sheet_label() const { return sheet_; }
    QTableWidget* grid() const { return grid_; }

private:
    QLabel* sheet_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

}  // namespace tb::gui
