#!/usr/bin/env python3
"""Prints what an independent reader (xlrd) sees in an .xls file, one fact per line."""
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
print("sheet", sheet.name, sheet.nrows, sheet.ncols)
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        xf = book.xf_list[cell.xf_index]
        font = book.font_list[xf.font_index]
        b = xf.border
        kind = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_BLANK: "blank",
                xlrd.XL_CELL_EMPTY: "empty"}.get(cell.ctype, str(cell.ctype))
        if kind == "empty":
            continue
        value = cell.value if kind != "number" else repr(cell.value)
        print(f"cell {r} {c} {kind} [{value}] font={font.name}/{font.height // 20}/{font.bold} "
              f"h={xf.alignment.hor_align} v={xf.alignment.vert_align} fill={xf.background.fill_pattern} "
              f"border={b.left_line_style}{b.top_line_style}{b.bottom_line_style}{b.right_line_style}")
        number_format = book.format_map[xf.format_key].format_str
        if number_format != "General":
            print(f"format {r} {c} {number_format}")
for (r0, r1, c0, c1) in sorted(sheet.merged_cells):
    print(f"merge {r0} {r1} {c0} {c1}")
for c, info in sorted(sheet.colinfo_map.items()):
    print(f"column {c} {info.width}")
for r, info in sorted(sheet.rowinfo_map.items()):
    print(f"row {r} {info.height}")
