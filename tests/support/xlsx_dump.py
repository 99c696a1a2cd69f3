#!/usr/bin/env python3
"""Prints what an independent reader (openpyxl) sees in an .xlsx file, one line a cell:
"SHEET ROW COL KIND VALUE" (1-based row and column; KIND number, text, datetime or empty, which has
no VALUE), every
cell of each sheet's used range, empty ones too. Exits 77 when openpyxl is not installed."""
import datetime
import sys

try:
    import openpyxl
except ImportError:
    print("SKIPPED: python3-openpyxl is not installed")
    sys.exit(77)

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    for row in sheet.iter_rows():
        for cell in row:
            value = cell.value
            if value is None:
                kind, text = "empty", ""
            elif isinstance(value, datetime.datetime):
                kind, text = "datetime", value.strftime("%Y-%m-%d %H:%M:%S")
            elif isinstance(value, (int, float)):
                kind, text = "number", repr(value)
            else:
                kind, text = "text", value
            print(f"{sheet.title} {cell.row} {cell.column} {kind}" + (f" {text}" if kind != "empty" else ""))
