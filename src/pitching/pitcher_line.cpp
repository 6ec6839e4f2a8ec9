// One season line of a pitcher, the innings figure and the running totals.
#include "pitching/pitching.h"

#include "hitting/hitting.h"

namespace tb::pitching {

namespace {
constexpr int A = 0, AB = 27;
}

double innings_of_outs(int64_t outs) {
    // The digit after the point counts outs, not tenths: 200 outs are 66.2.
    return static_cast<double>(outs % 3) / 10.0 + static_cast<double>(outs / 3);
}

void CALC_INNINGS(RunState& s) { s.InningsPitched = innings_of_outs(s.OutsToConvert); }

void Pitcher_Averages(RunState& s, int32_t SUBSCR) {
    const auto& rec = s.stats(SUBSCR);
    s.PitchOBA = rec.PitAtBats > 0 ? wb::format_000_value(static_cast<double>(rec.PitHits) / rec.PitAtBats) : 0;
    if (rec.PitOuts <= 0)
        s.PitchERA = rec.PitEarnedRuns > 0 ? 999.99 : 0;
    else
        s.PitchERA = wb::format_000_value(rec.PitEarnedRuns / (rec.PitOuts / 27.0));
    const int decisions = rec.PitWins + rec.PitLosses;
    s.PitchPCT = decisions > 0 ? wb::format_000_value(static_cast<double>(rec.PitWins) / decisions) : 0;
}

void Pitcher_EntryLine(RunState& s, int32_t SUBSCR) {
    const auto& rec = s.stats(SUBSCR);
    auto& W = s.workbook;
    const int32_t r = s.Row;
    Pitcher_Averages(s, SUBSCR);

    W.cell(0, r).Value(static_cast<int32_t>(rec.SeasonYear));
    W.cell(1, r).Value(s.LineTeamAbbrev);
    if (s.Age) W.cell(2, r).Value(*s.Age);
    W.cell(3, r).Value(s.PitchERA);
    W.cell(3, r).NumberFormat("##0.00");
    W.cell(4, r).Value(rec.PitWins);
    W.cell(5, r).Value(rec.PitLosses);
    W.cell(6, r).Value(s.PitchPCT);
    W.cell(6, r).NumberFormat("#.000");
    const int32_t middle[] = {rec.PitSaves, rec.PitHolds, rec.PitBlownSaves, rec.PitGames,
                              rec.PitGamesStarted, rec.PitCompleteGames, rec.PitShutouts};
    int col = 7;  // H
    for (int32_t v : middle) W.cell(col++, r).Value(v);
    W.cell(14, r).NumberFormat("0.0");
    W.cell(14, r).Value(s.InningsPitched);
    W.cell(15, r).Value(rec.PitBattersFaced);
    W.cell(16, r).Value(rec.PitAtBats);
    W.cell(17, r).Value(rec.PitHits);
    W.cell(18, r).Value(s.PitchOBA);
    W.cell(18, r).NumberFormat("#.000");
    const int32_t rest[] = {rec.PitRuns, rec.PitEarnedRuns, rec.PitWalks, rec.PitIntWalks,
                            rec.PitStrikeouts, rec.PitHR, rec.PitDoublePlays, rec.PitWildPitches,
                            rec.PitBalks};
    col = 19;  // T
    for (int32_t v : rest) W.cell(col++, r).Value(v);

    hitting::line_sides(s, AB);
    s.LastYear = rec.SeasonYear;

    auto& t = s.pitch;
    t.W += rec.PitWins;
    t.L += rec.PitLosses;
    t.SV += rec.PitSaves;
    t.G += rec.PitGames;
    t.GS += rec.PitGamesStarted;
    t.CG += rec.PitCompleteGames;
    t.SHO += rec.PitShutouts;
    t.Outs += rec.PitOuts;
    t.H += rec.PitHits;
    t.R += rec.PitRuns;
    t.ER += rec.PitEarnedRuns;
    t.BB += rec.PitWalks;
    t.K += rec.PitStrikeouts;
    t.HR += rec.PitHR;
    t.GDP += rec.PitDoublePlays;
    t.AB += rec.PitAtBats;
    t.IBB += rec.PitIntWalks;
    t.HLD += rec.PitHolds;
    t.BLS += rec.PitBlownSaves;
    t.BF += rec.PitBattersFaced;
    t.WP += rec.PitWildPitches;
    t.BK += rec.PitBalks;
    ++s.lines_written;
}

}  // namespace tb::pitching
