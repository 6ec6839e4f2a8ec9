#!/usr/bin/python3
"""Checks a converted workbook against the encyclopedia it came from.

Usage: /usr/bin/python3 check_sample.py ENCYCLOPEDIA_FOLDER BOOK.xlsx MODE
MODE: players-and-teams | players-only | teams-only

The encyclopedia is read here on its own (struct over the raw bytes) and the
expected figures are worked out independently of the program; the workbook
is read with openpyxl. Differences go to stderr; exit 1 when there are any.
"""
import collections
import decimal
import os
import struct
import sys

import openpyxl

LETTERS = [chr(c) for c in range(ord("A"), ord("Z") + 1)] + ["AA", "AB", "AC", "AD", "AE"]
PHASES = {2: "Reg", 5: "WCS", 6: "DCS", 7: "LCS", 8: "WS"}
# Post-season team sheets and the offset of their block in a team-season record.
POST_BLOCKS = {"TeamDCSTotals": 498, "TeamLCSTotals": 514, "TeamWSTotals": 530}
errors = []


def fail(msg):
    errors.append(msg)


def find(folder, name):
    hits = [f for f in os.listdir(folder) if f.lower() == name.lower()]
    if name in hits:
        return os.path.join(folder, name)
    return os.path.join(folder, hits[0]) if hits else None


def records(folder, name, size):
    path = find(folder, name)
    if not path:
        return []
    data = open(path, "rb").read()
    return [data[i:i + size] for i in range(0, len(data) - size + 1, size)]


def text(raw):
    return raw.split(b"\0", 1)[0].decode("cp1252", errors="replace")


def round3(q):
    d = decimal.Decimal("%.15g" % q)
    return float(d.quantize(decimal.Decimal("0.001"), rounding=decimal.ROUND_HALF_UP))


def fold(name):
    import unicodedata
    if not name:
        return "#"
    c = unicodedata.normalize("NFD", name[0])[0].upper()
    return c if "A" <= c <= "Z" else "#"


def stats_lines(folder):
    lines = []
    for n, r in enumerate(records(folder, "ENCPLSTATS.DAT", 344), start=1):
        status, = struct.unpack_from("<h", r, 0)
        pid, = struct.unpack_from("<i", r, 4)
        if status != 0 or pid <= 0:
            continue
        lines.append({
            "n": n, "pid": pid, "phase": r[8], "year": struct.unpack_from("<h", r, 10)[0],
            "name": text(r[32:48]) + "," + text(r[16:32]), "kind": r[48],
            "ab": struct.unpack_from("<h", r, 58)[0], "h": struct.unpack_from("<h", r, 64)[0],
            "outs": struct.unpack_from("<h", r, 124)[0], "er": struct.unpack_from("<h", r, 138)[0],
        })
    return lines


def check_players(folder, wb):
    lines = stats_lines(folder)
    by_player = collections.defaultdict(list)
    names = {}
    for l in lines:
        by_player[l["pid"]].append(l)
        names[l["pid"]] = l["name"]
    hit_rows, pitch_rows = collections.Counter(), collections.Counter()
    expected_blocks = collections.Counter()
    for pid, ls in by_player.items():
        reg = sorted((l for l in ls if l["phase"] == 2), key=lambda l: "%04d/%d" % (l["year"], l["n"]))
        if not reg:
            continue
        name = reg[-1]["name"]
        two_way = any(l["kind"] == 3 for l in reg)
        letter = fold(reg[0]["name"])
        expected_blocks[(letter, pid)] += 2 if two_way else 1
        ab = sum(l["ab"] for l in reg)
        outs = sum(l["outs"] for l in reg)
        er = sum(l["er"] for l in reg)
        era = (999.99 if er >= 1 else 0.0) if outs < 1 else round3(er / (outs / 27.0))
        if two_way or reg[-1]["kind"] == 1:
            hit_rows[(name, ab)] += 1
        if two_way or reg[-1]["kind"] == 2:
            pitch_rows[(name, round(outs // 3 + (outs % 3) / 10.0, 1), era)] += 1

    got_blocks = collections.Counter()
    for letter in LETTERS + ["#"]:
        if letter not in wb.sheetnames:
            continue
        ws = wb[letter]
        merged = {str(m) for m in ws.merged_cells.ranges}
        for row in ws.iter_rows(min_col=18, max_col=18):
            c = row[0]
            if isinstance(c.value, (int, float)) and "A%d:E%d" % (c.row, c.row) in merged:
                got_blocks[(letter, int(c.value))] += 1
    if got_blocks != expected_blocks:
        missing = expected_blocks - got_blocks
        extra = got_blocks - expected_blocks
        fail("player blocks differ: missing %s extra %s" % (list(missing.items())[:5], list(extra.items())[:5]))

    def sheet_rows(name, cols):
        if name not in wb.sheetnames:
            return collections.Counter()
        ws = wb[name]
        out = collections.Counter()
        for r in ws.iter_rows(min_row=2, values_only=True):
            out[tuple(r[c] if not isinstance(r[c], float) else round(r[c], 3) for c in cols)] += 1
        return out

    got_hit = sheet_rows("HitRegTotals", (0, 7))
    if got_hit != hit_rows:
        fail("HitRegTotals differs: missing %s extra %s" % (list((hit_rows - got_hit).items())[:5],
                                                           list((got_hit - hit_rows).items())[:5]))
    got_pitch = sheet_rows("PitchRegTotals", (0, 13, 2))
    if got_pitch != pitch_rows:
        fail("PitchRegTotals differs: missing %s extra %s" % (list((pitch_rows - got_pitch).items())[:5],
                                                             list((got_pitch - pitch_rows).items())[:5]))
    if "HitRegTotals" in wb.sheetnames and wb["HitRegTotals"]["A1"].value != "Player":
        fail("HitRegTotals has no header row")
    return bool(hit_rows), bool(pitch_rows)


def check_teams(folder, wb):
    teams = {}
    for r in records(folder, "ENCTEAM.DAT", 56):
        status, tid = struct.unpack_from("<hh", r, 0)
        f50, f52 = struct.unpack_from("<hh", r, 50)
        if status == 0 and f50 > 0 and f52 > 0:
            teams[tid] = text(r[4:8])
    seasons = collections.defaultdict(list)
    for r in records(folder, "enctmyr.dat", 548):
        status, = struct.unpack_from("<h", r, 0)
        tid, year = struct.unpack_from("<hh", r, 4)
        if status != 0 or year <= 0:
            continue
        won, lost = r[466 + 10], r[466 + 11]
        post = {sheet: (r[off + 10], r[off + 11]) for sheet, off in POST_BLOCKS.items()}
        seasons[(teams.get(tid, ""), tid)].append((year, won, lost, text(r[8:28]) + " " + text(r[28:48]), post))
    if "TeamRegTotals" not in wb.sheetnames:
        fail("no TeamRegTotals sheet")
        return
    expected = collections.Counter()
    for key, ss in seasons.items():
        ss.sort()
        expected[(ss[-1][3], sum(s[1] for s in ss), sum(s[2] for s in ss))] += 1
    got = collections.Counter()
    for r in wb["TeamRegTotals"].iter_rows(min_row=2, values_only=True):
        if len(r) > 4 and r[2] is not None:
            got[(r[2], r[3], r[4])] += 1
    if got != expected:
        fail("TeamRegTotals differs: missing %s extra %s" % (list((expected - got).items())[:5],
                                                            list((got - expected).items())[:5]))
    for sheet in POST_BLOCKS:
        want = collections.Counter()
        for key, ss in seasons.items():
            won = sum(s[4][sheet][0] for s in ss)
            lost = sum(s[4][sheet][1] for s in ss)
            if won or lost:
                want[(ss[-1][3], won, lost)] += 1
        have = collections.Counter()
        if sheet in wb.sheetnames:
            for r in wb[sheet].iter_rows(min_row=2, values_only=True):
                have[(r[3], r[4], r[5])] += 1
        if have != want:
            fail("%s differs: missing %s extra %s" % (sheet, list((want - have).items())[:5],
                                                     list((have - want).items())[:5]))
    titles = sum(1 for r in wb["Team Records"].iter_rows(min_col=1, max_col=1, values_only=True)
                 if r[0] == "League")
    if titles != len(seasons):
        fail("Team Records has %d sections, expected %d" % (titles, len(seasons)))


# Freeze point and filter columns of each totals sheet: the header row and
# the name column stay in view; the filter covers the header and the rows.
VIEWS = {"Hit": ("B2", "A", "X"), "Pitch": ("B2", "A", "AA"), "TeamReg": ("D2", "C", "K"), "Team": ("E2", "D", "L")}


def check_views(folder, wb):
    for name in wb.sheetnames:
        ws = wb[name]
        ps = ws.page_setup
        # One page wide is the file format's default, so the width may be left out.
        if ps.orientation != "landscape" or str(ps.fitToWidth) not in ("1", "None") or str(ps.fitToHeight) != "0" \
                or not ws.sheet_properties.pageSetUpPr.fitToPage:
            fail("%s: not printed landscape, one page wide" % name)
        if ws.oddFooter.left.text != "&A" or "&P" not in (ws.oddFooter.right.text or ""):
            fail("%s: footer without sheet name and page: %r %r" % (name, ws.oddFooter.left.text,
                                                                    ws.oddFooter.right.text))
        if not name.endswith("Totals"):
            if ws.freeze_panes or ws.auto_filter.ref:
                fail("%s: only totals sheets are frozen and filtered" % name)
            continue
        kind = "TeamReg" if name == "TeamRegTotals" else next(k for k in ("Hit", "Pitch", "Team")
                                                                if name.startswith(k))
        freeze, first, last = VIEWS[kind]
        if ws.freeze_panes != freeze:
            fail("%s: panes frozen at %s, expected %s" % (name, ws.freeze_panes, freeze))
        want = "%s1:%s%d" % (first, last, ws.max_row)
        if ws.auto_filter.ref != want:
            fail("%s: filter %s, expected %s" % (name, ws.auto_filter.ref, want))
        if ws.print_title_rows not in ("1:1", "$1:$1"):
            fail("%s: header row not printed on every page (%s)" % (name, ws.print_title_rows))
    props = wb.properties
    # A Windows build run under Wine names the folder by its drive Z: path.
    spellings = (os.path.abspath(folder), "Z:" + os.path.abspath(folder).replace("/", "\\"))
    named = any(s in (props.subject or "") for s in spellings)
    if props.title != "TALLYBOOK" or not named or props.created is None:
        fail("document properties: %r %r %r" % (props.title, props.subject, props.created))


def main(folder, book, mode):
    wb = openpyxl.load_workbook(book)
    players = mode != "teams-only"
    teams = mode != "players-only"
    sheets = wb.sheetnames
    if teams:
        if sheets[:2] != ["Team Records", "TeamRegTotals"]:
            fail("team sheets do not come first: %s" % sheets[:3])
        if "TeamWCSTotals" in sheets:
            fail("TeamWCSTotals should be deleted")
    else:
        if any(s.startswith("Team") for s in sheets):
            fail("team sheets in a players-only workbook")
    if players:
        letters = [s for s in sheets if s in LETTERS]
        if letters != LETTERS:
            fail("letter sheets missing or out of order")
        check_players(folder, wb)
    elif any(s in LETTERS for s in sheets):
        fail("letter sheets in a teams-only workbook")
    if teams:
        check_teams(folder, wb)
    check_views(folder, wb)
    for e in errors:
        print(e, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
