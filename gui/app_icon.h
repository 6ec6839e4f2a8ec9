// The program's icon, drawn here so that it shows wherever the program runs
// from, installed or not: a ledger sheet with a baseball.
#pragma once

#include <QIcon>

namespace tb::gui {

QIcon app_icon();

}  // namespace tb::gui
