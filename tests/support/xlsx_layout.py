#!/usr/bin/env python3
"""Prints how an independent reader (openpyxl) lays out each sheet of an .xlsx file, one line an item:
"SHEET frozen CELL" (the top left cell below a frozen pane, None without one), "SHEET width COL W" for
every column given a width (1-based column), "SHEET format COL CODE" for each number of the second
row, the first below a heading. Exits 77 when openpyxl is not installed."""
import sys

try:
    import openpyxl
except ImportError:
    print("SKIPPED: python3-openpyxl is not installed")
    sys.exit(77)

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    print(f"{sheet.title} frozen {sheet.freeze_panes}")
    widths = {}
    for dimension in sheet.column_dimensions.values():
        if dimension.customWidth:
            for column in range(dimension.min, dimension.max + 1):
                widths[column] = dimension.width
    for column in sorted(widths):
        print(f"{sheet.title} width {column} {widths[column]:g}")
    for cell in next(sheet.iter_rows(min_row=2, max_row=2), ()):
        if isinstance(cell.value, (int, float)) and not isinstance(cell.value, bool):
            print(f"{sheet.title} format {cell.column} {cell.number_format}")
