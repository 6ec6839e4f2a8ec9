// Runs the conversion on a tiny encyclopedia written to a temporary folder:
// one league season, two teams and two players, every file holding used
// records until a test changes them. The workbook stays for the test to read.
#pragma once

#include "app/run.h"
#include "support/encyclopedia_builder.h"
#include "support/older_workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace tb::test {

namespace fs = std::filesystem;

struct Recorder : app::RunObserver {
    std::vector<std::string> statuses;
    std::vector<app::Notice> told;
    int shown = 0;
    std::function<void(app::Stage, int64_t, int64_t)> on_progress;
    bool wants_copies = false;   // as a live view
    std::vector<app::SheetSnapshot> copies;
    void status(const std::string& t) override { statuses.push_back(t); }
    bool wants_snapshots() const override { return wants_copies; }
    void snapshot(app::SheetSnapshot s) override { copies.push_back(std::move(s)); }
    void notice(const app::Notice& n) override { told.push_back(n); }
    void show_workbook() override { ++shown; }
    void progress(app::Stage s, int64_t d, int64_t t) override {
        if (on_progress) on_progress(s, d, t);
    }
};

class RunFixture : public ::testing::Test {
protected:
    TempDir dir;
    fs::path folder = dir / "enc";
    fs::path output = dir / "book.xlsx";
    enc::EncyclopediaContents contents;
    Recorder observer;
    app::RunOptions options;
    std::unique_ptr<wb::Workbook> book;   // of the last run

    void SetUp() override {
        contents.teams = std::vector{team(1, "NYA"), team(2, "BOS")};
        contents.players = std::vector{player(1, 1970), player(2, 1975)};
        auto pitcher = pitcher_line(2, 2000, 2, 2, "Baker", "Bo");
        pitcher.pitching.outs = 30;
        contents.stats = std::vector{hitter_line(1, 2000, 2, 1, "Abel", "Al"), pitcher};
        contents.team_seasons = std::vector{team_season(1, 2000, 1, "New York", "Yanks", 90, 72),
                                            team_season(2, 2000, 1, "Boston", "Sox", 80, 82)};
        contents.league_seasons = std::vector{league_season(1, 2000, "American")};
        contents.leagues = std::vector{league(1, "American")};
        options.folder = folder;
        options.output = output;
    }

    void write() {
        fs::create_directories(folder);
        enc::write_encyclopedia(folder, contents);
    }
    // Runs on `contents`, or with `as_is` on what the folder holds now.
    app::RunResult run(bool as_is = false, const std::atomic<bool>* cancel = nullptr) {
        if (!as_is) write();
        book = std::make_unique<wb::Workbook>();
        return app::convert(options, observer, cancel, *book);
    }
    std::vector<std::string> entries(const fs::path& d) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string text(const std::string& sheet, const std::string& col, int32_t row) const {
        return book->displayed_text(sheet, wb::column_index(col), row);
    }
};

}  // namespace tb::test
