// The run's observer on the worker thread. Nothing here touches a widget:
// every report is copied and handed to the window's thread by a queued call.
#pragma once

#include "app/run.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace tb::gui {

class Form1;

// What the worker and the window share during one run.
struct RunLink {
    std::mutex m;
    std::condition_variable cv;
    bool abandoned = false;            // the window stopped waiting for this run
    uint64_t notices_posted = 0;
    uint64_t notices_answered = 0;
    // The newest sheet snapshot not yet shown; the window takes it out
    // under the lock a few times a second, so older ones are simply replaced.
    std::optional<tb::app::SheetSnapshot> latest;

    void abandon();
    std::optional<tb::app::SheetSnapshot> take_snapshot();
};

class WindowObserver : public tb::app::RunObserver {
public:
    WindowObserver(Form1* window, uint64_t run_id, std::shared_ptr<RunLink> link, bool snapshots)
        : window_(window), run_id_(run_id), link_(std::move(link)), snapshots_(snapshots) {}

    void started(std::chrono::system_clock::time_point t) override;
    void ended(std::chrono::system_clock::time_point t) override;
    void status(const std::string& text) override;
    // Waits until the user has closed the box (or the window gave up the run).
    void notice(const tb::app::Notice& n) override;
    void progress(tb::app::Stage stage, int64_t done, int64_t total) override;
    void show_workbook() override;
    bool wants_snapshots() const override { return snapshots_; }
    void snapshot(tb::app::SheetSnapshot s) override;

private:
    Form1* window_;
    uint64_t run_id_;
    std::shared_ptr<RunLink> link_;
    bool snapshots_;
};

}  // namespace tb::gui
