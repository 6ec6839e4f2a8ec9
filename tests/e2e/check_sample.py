#!/usr/bin/python3
"""Checks a converted workbook against the encyclopedia it came from.

Usage: /usr/bin/python3 check_sample.py ENCYCLOPEDIA_FOLDER BOOK.xlsx MODE
MODE: players-and-teams | players-only | teams-only

The encyclopedia is read here on its own (struct over the raw bytes) and the
players' career totals worked out independently of the program (the other
sheets are the goldens'); the workbook is read with openpyxl. The document
properties name the encyclopedia by its folder's name, and no part of the
workbook holds the path of the folder or of the workbook. Differences go to
stderr; exit 1 when there are any.
"""
import collections
import decimal
import os
import struct
import sys
import zipfile

import openpyxl

LETTERS = [chr(c) for c in range(ord("A"), ord("Z") + 1)] + ["AA", "AB", "AC", "AD", "AE"]
errors = []


def compare(what, want, got):
    if want != got:
        errors.append("%s differs: missing %s extra %s" % (what, list((want - got).items())[:5],
                                                           list((got - want).items())[:5]))


def records(folder, name, size):
    data = open(os.path.join(folder, name), "rb").read()
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
        if i16(r, 0) == 0 and pid > 0 and r[8] == 2 and r[48] in (1, 2, 3):
            by_player[pid].append({"n": n, "year": i16(r, 10), "name": text(r[32:48]) + "," + text(r[16:32]),
                                   "kind": r[48], "ab": i16(r, 58), "outs": i16(r, 124), "er": i16(r, 138)})
    # A hitting line counts in the hitting totals, a pitching line in the
    # pitching totals, a two-way line in both; the name is the last line's.
    hit, pitch = collections.Counter(), collections.Counter()
    for lines in by_player.values():
        lines.sort(key=lambda l: "%04d/%d" % (l["year"], l["n"]))
        hitting = [l for l in lines if l["kind"] in (1, 3)]
        pitching = [l for l in lines if l["kind"] in (2, 3)]
        if hitting:
            hit[(hitting[-1]["name"], sum(l["ab"] for l in hitting))] += 1
        if pitching:
            outs, er = sum(l["outs"] for l in pitching), sum(l["er"] for l in pitching)
            pitch[(pitching[-1]["name"], round(outs // 3 + (outs % 3) / 10.0, 1), era(er, outs))] += 1
    compare("HitRegTotals", hit, rows(wb, "HitRegTotals", (0, 7)))
    compare("PitchRegTotals", pitch, rows(wb, "PitchRegTotals", (0, 13, 2)))


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
