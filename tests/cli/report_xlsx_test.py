#!/usr/bin/env python3
"""Checks `pqdesk-cli report --xlsx` against real readers: the workbook of each phase's report page
against the .xls of the same page, both written by one command, and against the texts the command
was given.

usage: report_xlsx_test.py PQDESK_CLI openpyxl|libreoffice

openpyxl: every cell (value, font, alignment, fill, borders, number format), merge, column width
and row height as openpyxl reads the .xlsx equals what xlrd reads in the .xls.
libreoffice: LibreOffice converts both files into the same CSV.
Exits 77 (ctest's SKIP_RETURN_CODE) when the reader is not installed."""
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

SKIP = 77
SUPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support")
PHASES = {"Ua": "A相电压", "Ub": "B相电压", "Uc": "C相电压", "Ia": "A相电流", "Ib": "B相电流", "Ic": "C相电流"}
# Twelve records, fewer than the twenty a 95 % value needs: those cells hold "*".
RECORDS = "12"


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def skip(message):
    print("SKIPPED:", message)
    sys.exit(SKIP)


def run(command):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        fail(f"{' '.join(command)} exited {result.returncode}: {result.stderr.decode(errors='replace')}")
    return result.stdout.decode()


def reports(cli, folder):
    """Per phase the .xls and the .xlsx of one report command."""
    record_path = os.path.join(folder, "r.bin")
    run([cli, "generate", record_path, "--records", RECORDS, "--pt", "100", "--station", "城东", "--point", "出线"])
    written = {}
    for phase in PHASES:
        xls, xlsx = (os.path.join(folder, f"{phase}.{suffix}") for suffix in ("xls", "xlsx"))
        run([cli, "report", record_path, "--phase", phase, "--tester", "李四", "--unit", "电力局",
             "--print-date", "2026-12-10 08:00:00", "--xls", xls, "--xlsx", xlsx])
        written[phase] = (xls, xlsx)
    return written


def expect_texts(phase, cell):
    """The texts the command was given and the fixed ones, by 1-based row and column (A = 1)."""
    voltage = phase.startswith("U")
    footer = 38 if voltage else 34
    expected = {
        (1, 1): f"电能质量统计报表（{PHASES[phase]}）",
        # The report parameters name the station and the point after the record file, with "变电所" and
        # "线路" added.
        (2, 1): "变(配)电所名称：城东变电所",
        (2, 6): "测点名称：出线线路",
        (footer, 1): "测试单位：电力局",
        (footer, 4): "测试人员：李四",
        (footer, 6): "打印日期：2026-12-10 08:00:00",
        (8, 2): "2",
        (31, 2): "25",
        (12, 1): "24",
        (7 if voltage else 8, 6): "*",
    }
    if voltage:
        expected.update({(7, 1): "(KV)", (35, 7): "±0.2Hz", (36, 7): "2.00%"})
    for (row, column), text in expected.items():
        seen = cell(row, column)
        if seen != text:
            fail(f"{phase} row {row} column {column}: {seen!r}, expected {text!r}")


def check_openpyxl(written):
    try:
        import openpyxl  # noqa: F401
    except ImportError:
        skip("python3-openpyxl is not installed")
    for phase, (xls, xlsx) in written.items():
        with zipfile.ZipFile(xlsx) as book:
            if book.testzip() is not None:
                fail(f"{phase}: the archive's entry {book.testzip()} does not match its CRC")
        seen_xls = run(["/usr/bin/python3", os.path.join(SUPPORT, "xls_dump.py"), xls]).splitlines()
        seen_xlsx = run(["/usr/bin/python3", os.path.join(SUPPORT, "xlsx_sheet_dump.py"), xlsx]).splitlines()
        if seen_xlsx != seen_xls:
            differing = [f"{a!r} / {b!r}" for a, b in zip(seen_xls, seen_xlsx) if a != b][:5]
            fail(f"{phase}: {len(seen_xls)} facts in the .xls, {len(seen_xlsx)} in the .xlsx; first differences "
                 f"(.xls / .xlsx): {differing}")
        sheet = openpyxl.load_workbook(xlsx).worksheets[0]

        def cell(row, column):
            value = sheet.cell(row, column).value
            return str(value) if isinstance(value, int) else value
        expect_texts(phase, cell)
        if not isinstance(sheet.cell(8, 2).value, int):
            fail(f"{phase}: B8 is not a number: {sheet.cell(8, 2).value!r}")
        print(f"{phase}: {len(seen_xls)} facts of the .xls as in the .xlsx")


def check_libreoffice(written, folder):
    soffice = shutil.which("soffice")
    if soffice is None:
        skip("soffice (LibreOffice) is not installed")
    profile = os.path.join(folder, "lo-profile")
    for phase, files in written.items():
        tables = []
        for path in files:
            out = os.path.join(folder, "lo-" + os.path.splitext(path)[1][1:])
            # 44 comma, 34 quote, 76 UTF-8, first line 1.
            result = subprocess.run([soffice, f"-env:UserInstallation=file://{profile}", "--headless",
                                     "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir", out,
                                     path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
            converted = os.path.join(out, phase + ".csv")
            if result.returncode != 0 or not os.path.exists(converted):
                fail(f"LibreOffice did not convert {path}: {result.stdout.decode(errors='replace')}")
            with open(converted, encoding="utf-8", newline="") as f:
                tables.append(list(csv.reader(f)))
        if tables[0] != tables[1]:
            fail(f"{phase}: LibreOffice reads the two files differently")
        rows = tables[1]
        expect_texts(phase, lambda row, column: rows[row - 1][column - 1] if row <= len(rows) else None)
        print(f"{phase}: LibreOffice reads the same {len(rows)} rows from both files")


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("openpyxl", "libreoffice"):
        print(__doc__)
        return 2
    cli, reader = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        written = reports(cli, folder)
        if reader == "openpyxl":
            check_openpyxl(written)
        else:
            check_libreoffice(written, folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
