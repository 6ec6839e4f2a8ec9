#!/usr/bin/python3
"""Prints what a user sees in an .xlsx workbook, read with openpyxl (a reader
independent of the program), in the words of tests/support/workbook_dump.h
with as_saved: sheets with their view and print setup, widths, merged areas
and every cell that holds a value or a style.

Usage: /usr/bin/python3 xlsx_check.py dump BOOK.xlsx
"""
import math
import sys

import openpyxl
from openpyxl.cell.cell import MergedCell
from openpyxl.utils.cell import column_index_from_string, coordinate_from_string, get_column_letter


def _rgb(color):
    if color is None or color.type != "rgb" or not isinstance(color.rgb, str):
        return None
    return color.rgb[-6:].upper()


def _chars(stored_width):
    """Width as stored in the file -> characters shown in the width box (Calibri 11)."""
    px = math.floor(stored_width * 7 + 0.5)
    return (px - 5) / 7


def _load(path):
    """Loads the workbook keeping the cells that merged areas cover as the file
    has them: openpyxl would put blank cells and the area's outline there."""
    from openpyxl.worksheet.worksheet import Worksheet
    original = Worksheet._clean_merge_range
    covered = {}

    def keep_covered(ws, mcr):
        for row, col in list(mcr.cells)[1:]:
            if (row, col) in ws._cells:
                covered[(ws.title, row, col)] = ws._cells[(row, col)]
        original(ws, mcr)

    Worksheet._clean_merge_range = keep_covered
    try:
        return openpyxl.load_workbook(path), covered
    finally:
        Worksheet._clean_merge_range = original


def _cell(c):
    out = c.coordinate
    if isinstance(c.value, str):
        out += " '%s'" % c.value
    elif c.value is not None:
        out += " %.15g" % c.value
    if c.font.b:
        out += " bold"
    if c.font.sz is not None and float(c.font.sz) != 11:
        out += " size=%g" % float(c.font.sz)
    if c.fill is not None and c.fill.fill_type == "solid" and _rgb(c.fill.fgColor):
        out += " fill=" + _rgb(c.fill.fgColor)
    if c.number_format != "General":
        out += " format=" + c.number_format
    if c.alignment is not None and c.alignment.horizontal == "right":
        out += " right"
    for edge in ("top", "bottom", "left", "right"):
        side = getattr(c.border, edge)
        if side is not None and side.style:
            out += " %s=%s" % (edge, side.style) + ("/" + _rgb(side.color) if _rgb(side.color) else "")
    return out


def dump(path):
    wb, covered = _load(path)
    out = ["active " + wb.active.title]
    for ws in wb.worksheets:
        out += ["", "== " + ws.title]
        if ws.freeze_panes:
            col, row = coordinate_from_string(ws.freeze_panes)
            out.append("freeze %d rows %d columns" % (row - 1, column_index_from_string(col) - 1))
        if ws.auto_filter.ref:
            out.append("filter " + ws.auto_filter.ref)
        f, fit = ws.oddFooter, ws.sheet_properties.pageSetUpPr
        footer = "".join("&" + k + p.text for k, p in (("L", f.left), ("C", f.center), ("R", f.right)) if p.text)
        repeat = ws.print_title_rows.split(":")[-1].strip("$") if ws.print_title_rows else ""
        out.append("print" + (" landscape" if ws.page_setup.orientation == "landscape" else "") +
                   (" one-page-wide" if fit is not None and fit.fitToPage else "") +
                   (" repeat-rows=" + repeat if repeat else "") + " footer=" + footer)
        widths = {}
        for dim in ws.column_dimensions.values():
            if dim.width and dim.customWidth:
                for col in range(dim.min or 1, (dim.max or dim.min or 1) + 1):
                    widths[col] = _chars(dim.width)
        out.append("widths" + "".join(" %s=%.2f" % (get_column_letter(c), w) for c, w in sorted(widths.items())))
        merges = sorted(ws.merged_cells.ranges, key=lambda r: (r.min_row, r.min_col))
        out.append("merges" + "".join(" " + str(r) for r in merges))
        for row in ws.iter_rows():
            for c in row:
                c = covered.get((ws.title, c.row, c.column), c)
                if not isinstance(c, MergedCell) and (c.value is not None or c.style_id != 0):
                    out.append(_cell(c))
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] != "dump":
        sys.exit(__doc__.split("\n\n")[1])
    sys.stdout.buffer.write(dump(sys.argv[2]).encode("utf-8"))
