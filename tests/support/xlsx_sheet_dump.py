#!/usr/bin/env python3
"""Prints what an independent reader (openpyxl) sees of the first sheet of an .xlsx file, in the lines
that xls_dump.py prints for an .xls (with xlrd's numbers for alignments, fills and lines), so that a
workbook of each kind compares line by line. Exits 77 when openpyxl is not installed."""
import sys

try:
    import openpyxl
    from openpyxl.cell.read_only import EmptyCell
except ImportError:
    print("SKIPPED: python3-openpyxl is not installed")
    sys.exit(77)

HORIZONTAL = {None: 0, "general": 0, "left": 1, "center": 2, "right": 3}
VERTICAL = {"top": 0, "center": 1, None: 2, "bottom": 2}
LINES = {None: 0, "thin": 1, "medium": 2}
FILLS = {None: 0, "solid": 1}

path = sys.argv[1]
sheet = openpyxl.load_workbook(path).worksheets[0]
# The cells of a read-only sheet keep their own formats; a full load gives the cells inside a merged
# range the borders of its first cell instead.
cells = openpyxl.load_workbook(path, read_only=True).worksheets[0]
print("sheet", sheet.title, sheet.max_row, sheet.max_column)
for row in cells.iter_rows():
    for cell in row:
        if isinstance(cell, EmptyCell):
            continue
        value = cell.value
        if value is None:
            kind, value = "blank", ""
        elif isinstance(value, str):
            kind = "text"
        else:
            kind, value = "number", repr(float(value))
        font, b = cell.font, cell.border
        lines = "".join(str(LINES[side.style]) for side in (b.left, b.top, b.bottom, b.right))
        print(f"cell {cell.row - 1} {cell.column - 1} {kind} [{value}] font={font.name}/{int(font.sz)}/{int(bool(font.b))} "
              f"h={HORIZONTAL[cell.alignment.horizontal]} v={VERTICAL[cell.alignment.vertical]} "
              f"fill={FILLS[cell.fill.fill_type]} border={lines}")
        if cell.number_format != "General":
            print(f"format {cell.row - 1} {cell.column - 1} {cell.number_format}")
for (r0, r1, c0, c1) in sorted((m.min_row - 1, m.max_row, m.min_col - 1, m.max_col) for m in sheet.merged_cells.ranges):
    print(f"merge {r0} {r1} {c0} {c1}")
columns = {}
for dimension in sheet.column_dimensions.values():
    for c in range(dimension.min, dimension.max + 1):
        columns[c - 1] = round(dimension.width * 256)
for c, width in sorted(columns.items()):
    print(f"column {c} {width}")
for r, dimension in sorted(sheet.row_dimensions.items()):
    if dimension.ht is not None:
        print(f"row {r - 1} {round(dimension.ht * 20)}")
