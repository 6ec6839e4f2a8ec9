// Runs the Process command on a tiny encyclopedia written to a temp folder
// and keeps the workbook for the test to look at.
#pragma once

#include "app/run_state.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tb::test {

struct RecordingObserver : app::RunObserver {
    std::vector<std::string> statuses;
    std::vector<std::string> notices;
    int shown = 0;
    int64_t last_done = 0, last_total = 0;
    void status(const std::string& t) override { statuses.push_back(t); }
    void notice(const app::Notice& n) override { notices.push_back(n.text + " | " + n.where()); }
    void show_workbook() override { ++shown; }
    void progress(app::Stage s, int64_t d, int64_t t) override {
        if (s != app::Stage::Players) return;
        last_done = d;
        last_total = t;
    }
};

class RunFixture : public ::testing::Test {
protected:
    TempDir dir;
    enc::EncyclopediaContents contents;
    RecordingObserver observer;
    app::RunOptions options;
    std::unique_ptr<app::RunState> state;
    app::RunResult result;

    void SetUp() override {
        contents.teams = std::vector<enc::TeamRecord>{team(1, "NYA"), team(2, "BOS")};
        // One player record that no line belongs to, so that the player file
        // is not "without a used record" in every test.
        contents.players = std::vector<enc::PlayerRecord>{player(65000, 1950)};
        contents.stats = std::vector<enc::PlayerSeasonStats>{};
        options.folder = dir / "enc";
        options.output = dir / "out.xlsx";
        options.desired = sheets::SheetsDesired::PlayersOnly;
    }

    std::vector<enc::PlayerSeasonStats>& stats() { return *contents.stats; }

    // Appends a line and returns its record number.
    int32_t add(const enc::PlayerSeasonStats& line) {
        stats().push_back(line);
        return static_cast<int32_t>(stats().size());
    }

    app::RunResult& run() {
        std::filesystem::create_directories(options.folder);
        enc::write_encyclopedia(options.folder, contents);
        state = std::make_unique<app::RunState>(options, observer, nullptr);
        result = app::run_with_state(*state);
        return result;
    }

    wb::Workbook& book() { return state->workbook; }

    // Cell value helpers on a named sheet; columns by letter.
    std::string text(const std::string& sheet, const std::string& col, int32_t row) {
        return book().value(sheet, wb::column_index(col), row).text;
    }
    double num(const std::string& sheet, const std::string& col, int32_t row) {
        auto v = book().value(sheet, wb::column_index(col), row);
        EXPECT_EQ(v.kind, wb::CellValue::Kind::Number) << sheet << "!" << col << row;
        return v.number;
    }
    bool empty(const std::string& sheet, const std::string& col, int32_t row) {
        return book().value(sheet, wb::column_index(col), row).kind == wb::CellValue::Kind::Empty;
    }
    std::string shown(const std::string& sheet, const std::string& col, int32_t row) {
        return book().displayed_text(sheet, wb::column_index(col), row);
    }
    wb::Style style(const std::string& sheet, const std::string& col, int32_t row) {
        return book().style(sheet, wb::column_index(col), row);
    }
};

inline enc::PlayerSeasonStats batting(enc::PlayerSeasonStats s, int ab, int h, int d = 0, int t = 0, int hr = 0,
                                      int bb = 0, int hbp = 0, int sf = 0, int sh = 0) {
    s.HitAB = static_cast<int16_t>(ab);
    s.HitHits = static_cast<int16_t>(h);
    s.HitDoubles = static_cast<uint8_t>(d);
    s.HitTriples = static_cast<uint8_t>(t);
    s.HitHR = static_cast<uint8_t>(hr);
    s.HitWalks = static_cast<int16_t>(bb);
    s.HitHBP = static_cast<uint8_t>(hbp);
    s.HitSF = static_cast<uint8_t>(sf);
    s.HitSH = static_cast<uint8_t>(sh);
    return s;
}

inline enc::PlayerSeasonStats pitching(enc::PlayerSeasonStats s, int outs, int er, int w = 0, int l = 0,
                                       int ab = 0, int h = 0, int holds = 0) {
    s.PitOuts = static_cast<int16_t>(outs);
    s.PitEarnedRuns = static_cast<int16_t>(er);
    s.PitWins = static_cast<uint8_t>(w);
    s.PitLosses = static_cast<uint8_t>(l);
    s.PitAtBats = static_cast<int16_t>(ab);
    s.PitHits = static_cast<int16_t>(h);
    s.PitHolds = static_cast<uint8_t>(holds);
    return s;
}

}  // namespace tb::test
