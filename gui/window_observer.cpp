#include "window_observer.h"

#include "form1.h"

#include <QDateTime>
#include <QMetaObject>

namespace tb::gui {

namespace {

QDateTime to_qt(std::chrono::system_clock::time_point t) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(ms.count());
}

}  // namespace

void RunLink::abandon() {
    {
        std::lock_guard lk(m);
        abandoned = true;
    }
    cv.notify_all();
}

std::optional<tb::app::SheetSnapshot> RunLink::take_snapshot() {
    std::lock_guard lk(m);
    std::optional<tb::app::SheetSnapshot> s = std::move(latest);
    latest.reset();
    return s;
}

// Queued calls name the window as their context, so Qt drops them if the
// window is gone; the window also drops those of a run it no longer waits for.

void WindowObserver::started(std::chrono::system_clock::time_point t) {
    QMetaObject::invokeMethod(
        window_, [w = window_, id = run_id_, dt = to_qt(t)] { w->run_started(id, dt); },
        Qt::QueuedConnection);
}

void WindowObserver::ended(std::chrono::system_clock::time_point t) {
    QMetaObject::invokeMethod(
        window_, [w = window_, id = run_id_, dt = to_qt(t)] { w->run_ended(id, dt); },
        Qt::QueuedConnection);
}

void WindowObserver::status(const std::string& text) {
    QMetaObject::invokeMethod(
        window_,
        [w = window_, id = run_id_, s = QString::fromStdString(text)] { w->run_status(id, s); },
        Qt::QueuedConnection);
}

void WindowObserver::notice(const tb::app::Notice& n) {
    uint64_t ticket = 0;
    {
        std::lock_guard lk(link_->m);
        if (link_->abandoned) return;
        ticket = ++link_->notices_posted;
    }
    QMetaObject::invokeMethod(
        window_,
        [w = window_, id = run_id_, link = link_, ticket, t = QString::fromStdString(n.text),
         d = QString::fromStdString(n.where())] {
            w->run_notice(id, t, d);
            {
                std::lock_guard lk(link->m);
                if (link->notices_answered < ticket) link->notices_answered = ticket;
            }
            link->cv.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lk(link_->m);
    link_->cv.wait(lk, [&] { return link_->abandoned || link_->notices_answered >= ticket; });
}

void WindowObserver::progress(tb::app::Stage stage, int64_t done, int64_t total) {
    if (stage != tb::app::Stage::Players) return;
    QMetaObject::invokeMethod(
        window_, [w = window_, id = run_id_, done, total] { w->run_progress(id, done, total); },
        Qt::QueuedConnection);
}

void WindowObserver::show_workbook() {
    QMetaObject::invokeMethod(
        window_, [w = window_, id = run_id_] { w->run_show_workbook(id); }, Qt::QueuedConnection);
}

void WindowObserver::snapshot(tb::app::SheetSnapshot s) {
    if (!snapshots_) return;
    std::lock_guard lk(link_->m);
    link_->latest = std::move(s);
}

}  // namespace tb::gui
