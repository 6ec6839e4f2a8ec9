#!/usr/bin/python3
"""Reads an .xlsx workbook with openpyxl and dumps what a user sees in it.

Usage:
    /usr/bin/python3 xlsx_check.py dump BOOK.xlsx            # JSON to stdout
    /usr/bin/python3 xlsx_check.py compare BOOK.xlsx EXPECTED.json
        exit 0 when every sheet, cell, merge and width of EXPECTED.json is in
        BOOK.xlsx as stated (and BOOK.xlsx has no other sheets, non-empty
        cells or merges); otherwise the differences go to stderr, exit 1.

As a module: `dump(path)` returns the dictionary below, `compare(got,
expected)` the list of differences (empty when they agree).

Output format of `dump`:
{
  "sheets": ["Team Records", "TeamRegTotals", ...],   # left to right
  "active": "Team Records",                           # sheet shown on opening
  "sheet": {
    "<name>": {
      "cells": {
        "A1": {                        # only cells with a value or a style
          "value": "text" | 12.5 | null,
          "number_format": "General" | "#.000" | ...,
          "fill": "FFFFCC" | null,     # solid fill RGB
          "bold": true | false,
          "size": 11,                  # font size in points
          "align": "right" | null,     # horizontal alignment
          "borders": {                 # edges that have a line only
            "top": {"style": "medium" | "thin" | ..., "color": "FF0000" | null}
          }
        }
      },
      "merges": ["A1:E1", ...],        # sorted
      "widths": {"A": 12.86, ...}      # only columns with a set width, in
                                       # characters as the spreadsheet shows
                                       # them (2 decimals); others 8.43
    }
  }
}
Numbers are JSON numbers (whole numbers are written without a fraction).
"""
import json
import math
import sys

import openpyxl
from openpyxl.cell.cell import MergedCell
from openpyxl.utils import get_column_letter

MAX_DIGIT_PX = 7      # Calibri 11
PADDING_PX = 5


def _rgb(color):
    if color is None or color.type != "rgb" or not isinstance(color.rgb, str):
        return None
    return color.rgb[-6:].upper()


def _chars(stored_width):
    """Width as stored in the file -> characters shown in the width box."""
    px = math.floor(stored_width * MAX_DIGIT_PX + 0.5)
    return round((px - PADDING_PX) / MAX_DIGIT_PX, 2)


def _number(v):
    if isinstance(v, bool):
        return v
    if isinstance(v, float) and v.is_integer() and abs(v) < 2 ** 53:
        return int(v)
    return v


def _cell(c):
    fill = None
    if c.fill is not None and c.fill.fill_type == "solid":
        fill = _rgb(c.fill.fgColor)
    borders = {}
    for edge in ("top", "bottom", "left", "right"):
        side = getattr(c.border, edge)
        if side is not None and side.style:
            borders[edge] = {"style": side.style, "color": _rgb(side.color)}
    value = c.value
    if isinstance(value, (int, float)):
        value = _number(value)
    elif value is not None:
        value = str(value)
    return {
        "value": value,
        "number_format": c.number_format,
        "fill": fill,
        "bold": bool(c.font.b),
        "size": _number(float(c.font.sz)) if c.font.sz is not None else 11,
        "align": c.alignment.horizontal if c.alignment is not None else None,
        "borders": borders,
    }


def _styled(c):
    return c.has_style and (c.style_id != 0)


def _load(path):
    """Loads the workbook keeping the cells that merged areas cover as they
    are in the file: openpyxl replaces them with blank MergedCells and
    redraws the area's outline, which would hide what each cell holds."""
    from openpyxl.worksheet.worksheet import Worksheet
    original = Worksheet._clean_merge_range
    covered = {}

    def keep_covered(ws, mcr):
        cells = list(mcr.cells)[1:]
        for row, col in cells:
            cell = ws._cells.get((row, col))
            if cell is not None:
                covered.setdefault(ws.title, {})[(row, col)] = cell
        original(ws, mcr)

    Worksheet._clean_merge_range = keep_covered
    try:
        wb = openpyxl.load_workbook(path)
    finally:
        Worksheet._clean_merge_range = original
    return wb, covered


def dump(path):
    wb, covered = _load(path)
    out = {"sheets": wb.sheetnames, "active": wb.active.title if wb.active else None, "sheet": {}}
    for ws in wb.worksheets:
        cells = {}
        hidden = covered.get(ws.title, {})
        for row in ws.iter_rows():
            for c in row:
                if isinstance(c, MergedCell):
                    if (c.row, c.column) not in hidden:
                        continue   # not in the file: nothing to show
                    c = hidden[(c.row, c.column)]
                if c.value is None and not _styled(c):
                    continue
                cells[c.coordinate] = _cell(c)
        widths = {}
        for key, dim in ws.column_dimensions.items():
            if dim.width and dim.customWidth:
                for col in range(dim.min or 1, (dim.max or dim.min or 1) + 1):
                    widths[get_column_letter(col)] = _chars(dim.width)
        out["sheet"][ws.title] = {
            "cells": cells,
            "merges": sorted(str(r) for r in ws.merged_cells.ranges),
            "widths": widths,
        }
    return out


def _default_cell():
    return {"value": None, "number_format": "General", "fill": None, "bold": False,
            "size": 11, "align": None, "borders": {}}


def compare(got, expected, width_tolerance=0.011):
    diffs = []
    if got["sheets"] != expected["sheets"]:
        diffs.append(f"sheet order: got {got['sheets']}, expected {expected['sheets']}")
    if "active" in expected and got["active"] != expected["active"]:
        diffs.append(f"active sheet: got {got['active']!r}, expected {expected['active']!r}")
    for name, exp in expected.get("sheet", {}).items():
        g = got["sheet"].get(name)
        if g is None:
            diffs.append(f"{name}: sheet missing")
            continue
        for addr in sorted(set(exp.get("cells", {})) | set(g["cells"])):
            e = dict(_default_cell(), **exp.get("cells", {}).get(addr, {}))
            c = g["cells"].get(addr, _default_cell())
            for key, ev in e.items():
                gv = c.get(key)
                if isinstance(ev, float) or isinstance(gv, float):
                    same = gv is not None and ev is not None and abs(gv - ev) <= 1e-12 * max(1, abs(ev))
                else:
                    same = gv == ev
                if not same:
                    diffs.append(f"{name}!{addr} {key}: got {gv!r}, expected {ev!r}")
        if "merges" in exp and sorted(exp["merges"]) != g["merges"]:
            diffs.append(f"{name} merges: got {g['merges']}, expected {sorted(exp['merges'])}")
        if "widths" in exp:
            for col in sorted(set(exp["widths"]) | set(g["widths"])):
                ew = exp["widths"].get(col, 8.43)
                gw = g["widths"].get(col, 8.43)
                if abs(ew - gw) > width_tolerance:
                    diffs.append(f"{name} column {col} width: got {gw}, expected {ew}")
    return diffs


def main(argv):
    if len(argv) == 3 and argv[1] == "dump":
        json.dump(dump(argv[2]), sys.stdout, indent=1, sort_keys=True)
        print()
        return 0
    if len(argv) == 4 and argv[1] == "compare":
        with open(argv[3], encoding="utf-8") as f:
            expected = json.load(f)
        diffs = compare(dump(argv[2]), expected)
        for d in diffs:
            print(d, file=sys.stderr)
        return 1 if diffs else 0
    print(__doc__.split("\n\n")[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
