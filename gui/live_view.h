// The latest rows of the sheet being filled, drawn as the workbook has them:
// fills, bold, borders and number formats.
#pragma once

#include "app/run.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace tb::gui {

class LiveView : public QWidget {
    Q_OBJECT

public:
    explicit LiveView(QWidget* parent = nullptr);

    void clear();
    void show_snapshot(const tb::app::SheetSnapshot& snapshot);

private:
    QLabel* sheet_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

}  // namespace tb::gui
