#!/usr/bin/python3
"""Checks a converted workbook against the encyclopedia it came from.

Usage: /usr/bin/python3 check_sample.py ENCYCLOPEDIA_FOLDER BOOK.xlsx MODE
MODE: players-and-teams | players-only | teams-only

The encyclopedia is read here on its own (struct over the raw bytes) and the
expected figures are worked out independently of the program; the workbook
is read with openpyxl. The document properties name the encyclopedia by its
folder's name, and no part of the workbook holds the path of the folder or
of the workbook. Differences go to stderr; exit 1 when there are any.
"""
import collections
import decimal
import os
import struct
import sys
import unicodedata
import zipfile

import openpyxl

LETTERS = [chr(c) for c in range(ord("A"), ord("Z") + 1)] + ["AA", "AB", "AC", "AD", "AE"]
# Post-season team sheets and the offset of their block in a team-season record.
POST_BLOCKS = {"TeamDCSTotals": 498, "TeamLCSTotals": 514, "TeamWSTotals": 530}
errors = []


def compare(what, want, got):
    if want != got:
        errors.append("%s differs: missing %s extra %s" % (what, list((want - got).items())[:5],
                                                           list((got - want).items())[:5]))


def records(folder, name, size):
    hits = sorted(f for f in os.listdir(folder) if f.lower() == name.lower())
    if not hits:
        return []
    data = open(os.path.join(folder, name if name in hits else hits[0]), "rb").read()
    return [data[i:i + size] for i in range(0, len(data) - size + 1, size)]


def text(raw):
    return raw.split(b"\0", 1)[0].decode("cp1252", errors="replace")


def i16(r, at):
    return struct.unpack_from("<h", r, at)[0]


def rows(wb, sheet, cols):
    got = collections.Counter()
    if sheet in wb.sheetnames:
        for r in wb[sheet].iter_rows(min_row=2, values_only=True):
            if len(r) > max(cols) and r[cols[0]] is not None:
                got[tuple(round(r[c], 3) if isinstance(r[c], float) else r[c] for c in cols)] += 1
    return got


def era(er, outs):
    """Earned runs per nine innings, rounded once to two decimals."""
    if outs < 1:
        return 999.99 if er >= 1 else 0.0
    return float((decimal.Decimal(er * 27) / decimal.Decimal(outs)).quantize(decimal.Decimal("0.01"),
                                                                             decimal.ROUND_HALF_UP))


def check_players(folder, wb):
    by_player = collections.defaultdict(list)
    for n, r in enumerate(records(folder, "ENCPLSTATS.DAT", 344), start=1):
        pid = struct.unpack_from("<i", r, 4)[0]
        if i16(r, 0) == 0 and pid > 0 and r[8] in (2, 5, 6, 7, 8) and r[48] in (1, 2, 3):
            by_player[pid].append({"n": n, "phase": r[8], "year": i16(r, 10),
                                   "name": text(r[32:48]) + "," + text(r[16:32]), "kind": r[48],
                                   "ab": i16(r, 58), "outs": i16(r, 124), "er": i16(r, 138)})
    hit, pitch, blocks = collections.Counter(), collections.Counter(), collections.Counter()
    for pid, lines in by_player.items():
        lines.sort(key=lambda l: "%04d/%d" % (l["year"], l["n"]))
        reg = [l for l in lines if l["phase"] == 2]
        if not reg:
            continue
        # A hitting line feeds the hitting block, a pitching line the
        # pitching block, a two-way line both.
        hitting = [l for l in lines if l["kind"] in (1, 3)]
        pitching = [l for l in lines if l["kind"] in (2, 3)]
        first = unicodedata.normalize("NFD", reg[0]["name"][:1] or "#")[0].upper()
        blocks[(first if "A" <= first <= "Z" else "#", pid)] += bool(hitting) + bool(pitching)
        reg_hit = [l for l in hitting if l["phase"] == 2]
        reg_pitch = [l for l in pitching if l["phase"] == 2]
        if reg_hit:
            hit[(reg_hit[-1]["name"], sum(l["ab"] for l in reg_hit))] += 1
        if reg_pitch:
            outs, er = sum(l["outs"] for l in reg_pitch), sum(l["er"] for l in reg_pitch)
            pitch[(reg_pitch[-1]["name"], round(outs // 3 + (outs % 3) / 10.0, 1), era(er, outs))] += 1
    # A player block: name merged over A:E, player number in R.
    got = collections.Counter()
    for letter in [s for s in LETTERS + ["#"] if s in wb.sheetnames]:
        merged = {str(m) for m in wb[letter].merged_cells.ranges}
        for (c,) in wb[letter].iter_rows(min_col=18, max_col=18):
            if isinstance(c.value, (int, float)) and "A%d:E%d" % (c.row, c.row) in merged:
                got[(letter, int(c.value))] += 1
    compare("player blocks", blocks, got)
    compare("HitRegTotals", hit, rows(wb, "HitRegTotals", (0, 7)))
    compare("PitchRegTotals", pitch, rows(wb, "PitchRegTotals", (0, 13, 2)))


def check_teams(folder, wb):
    teams = {i16(r, 2): text(r[4:8]) for r in records(folder, "ENCTEAM.DAT", 56)
             if i16(r, 0) == 0 and i16(r, 50) > 0 and i16(r, 52) > 0}
    seasons = collections.defaultdict(list)
    for r in records(folder, "enctmyr.dat", 548):
        if i16(r, 0) == 0 and i16(r, 6) > 0:
            post = {sheet: (r[at + 10], r[at + 11]) for sheet, at in POST_BLOCKS.items()}
            seasons[(teams.get(i16(r, 4), ""), i16(r, 4))].append(
                (i16(r, 6), r[476], r[477], text(r[8:28]) + " " + text(r[28:48]), post))
    for ss in seasons.values():
        ss.sort()
    want = collections.Counter((ss[-1][3], sum(s[1] for s in ss), sum(s[2] for s in ss)) for ss in seasons.values())
    compare("TeamRegTotals", want, rows(wb, "TeamRegTotals", (2, 3, 4)))
    for sheet in POST_BLOCKS:
        want = collections.Counter()
        for ss in seasons.values():
            won, lost = sum(s[4][sheet][0] for s in ss), sum(s[4][sheet][1] for s in ss)
            if won or lost:
                want[(ss[-1][3], won, lost)] += 1
        compare(sheet, want, rows(wb, sheet, (3, 4, 5)))


def check_no_paths(book, paths):
    """No part of the workbook names the folders of `paths` (where it was made:
    a user's name), in Linux's spelling or as a Windows build under Wine has it."""
    with zipfile.ZipFile(book) as z:
        parts = {n: z.read(n).decode("utf-8", errors="replace") for n in z.namelist()}
    for path in paths:
        parent = os.path.dirname(os.path.abspath(path))
        if len(parent) < 5:   # too short to tell from other text
            continue
        for spelling in (parent, "Z:" + parent.replace("/", "\\")):
            for part, text in parts.items():
                if spelling in text:
                    errors.append("%s holds the path %s" % (part, spelling))


def main(folder, book, mode):
    wb = openpyxl.load_workbook(book)
    players, teams = mode != "teams-only", mode != "players-only"
    sheets = wb.sheetnames
    team_sheets = [s for s in sheets if s.startswith("Team")]
    if teams and (sheets[:2] != ["Team Records", "TeamRegTotals"] or "TeamWCSTotals" in sheets):
        errors.append("team sheets: %s" % team_sheets)
    if [s for s in sheets if s in LETTERS] != (LETTERS if players else []) or (team_sheets and not teams):
        errors.append("sheets of the wrong mode: %s" % sheets)
    if teams and wb.active.title != "Team Records":
        errors.append("the active sheet is %s" % wb.active.title)
    if players:
        check_players(folder, wb)
    if teams:
        check_teams(folder, wb)
    props = wb.properties
    name = os.path.basename(os.path.abspath(folder))
    if (props.title != "TALLYBOOK" or props.subject != "Encyclopedia: " + name or
            not (props.description or "").startswith("Written by TALLYBOOK ")):
        errors.append("document properties: %r %r %r" % (props.title, props.subject, props.description))
    check_no_paths(book, [folder, book])
    for e in errors:
        print(e, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
