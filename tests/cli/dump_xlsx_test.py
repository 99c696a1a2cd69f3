#!/usr/bin/env python3
"""Checks `pqdesk-cli dump --xlsx` against real readers: every cell of the workbook, as openpyxl or
LibreOffice reads it, against the same field of the CSV that the same command prints.

usage: dump_xlsx_test.py PQDESK_CLI openpyxl|libreoffice|full-day

Exits 77 (ctest's SKIP_RETURN_CODE) when the reader is not installed."""
import csv
import datetime
import io
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

SKIP = 77
TIME_COLUMN = 1
TIME_FORMAT = "yyyy-mm-dd hh:mm:ss"
# instrumentId bytes of the even and odd records: digits with leading zeros, which must stay a text
IDS = (b"\x00\x12\x04\x09", b"\x00\x12\xAB\x09")


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def skip(message):
    print("SKIPPED:", message)
    sys.exit(SKIP)


# --- the fixture: a record file built byte by byte -----------------------------------------------

def bcd(number):
    return (number // 10) << 4 | number % 10


def record_file(frames, ids):
    """A head with non-round ratios and the frames given as (six time bytes, {float cell: value})."""
    head = bytearray(64)
    head[6:9] = b"STA"
    head[16:19] = b"PNT"
    head[26] = 3
    for offset, value in ((30, 100.0), (34, 120.0), (38, 120.0), (42, 1.75), (46, 2.5)):
        head[offset:offset + 4] = struct.pack("<f", value)
    data = bytearray(head)
    for position, (time, values) in enumerate(frames):
        body = bytearray(1847)
        body[0:6] = bytes(time)
        body[6] = 1
        body[7:11] = ids[position % 2]
        for cell, value in values.items():
            offset = 26 + 4 * (cell - 11)
            body[offset:offset + 4] = struct.pack("<f", value)
        body[1846] = (113 + sum(body[:1846])) & 0xFF
        data += b"\xEB\x90" * 3 + body
    return bytes(data)


def fixture_frames():
    """Five records. Every float cell 11..471 has a value of its own, none of them round: tiny ones
    that print in exponent form, large ones, negative ones. Two records have time stamps that are no
    date-time (a BCD digit above 9, 30 February) and stay texts. (The import reads nan and infinities
    as 0, so they cannot reach the dump.)"""
    frames = []
    times = [
        (13, 7, 21, 9, 58, 47),
        (13, 7, 21, 9, 58, 48),
        None,  # month byte 0x1A
        (12, 2, 30, 23, 59, 59),
        (13, 12, 31, 23, 59, 59),
    ]
    for seed, time in enumerate(times):
        raw = [bcd(v) for v in time] if time else [0x13, 0x1A, 0x21, 0x09, 0x58, 0x49]
        values = {}
        for cell in range(11, 472):
            magnitude = (1.0e-7, 0.031, 7.3, 523.0, 81234.0, 3.4e9)[cell % 6]
            sign = -1.0 if cell % 7 == 3 else 1.0
            values[cell] = sign * magnitude * (1.0 + 0.000731 * cell + 0.0917 * seed)
        frames.append((raw, values))
    return frames


# --- running the command ----------------------------------------------------------------------------

RECORD_SHEET = "记录"


def dump(cli, record_path, workbook_path, *options):
    """The workbook headed as the CSV is (--headers id), so that every cell compares with its field;
    the Chinese headings of the default are checked by tests/cli/RecordCommandsTest.cpp."""
    result = subprocess.run([cli, "dump", record_path, "--xlsx", workbook_path, "--headers", "id", *options],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        fail(f"dump exited {result.returncode}: {result.stderr.decode(errors='replace')}")
    return result.stdout


def csv_rows(output, with_mark):
    mark = b"\xEF\xBB\xBF"
    if output.startswith(mark) != with_mark:
        fail(f"byte-order mark expected: {with_mark}, output starts {output[:3]!r}")
    text = output[len(mark):] if with_mark else output
    return list(csv.reader(io.StringIO(text.decode("utf-8"), newline="")))


def is_date_time(text):
    try:
        datetime.datetime.strptime(text, "%Y-%m-%d %H:%M:%S")
    except ValueError:
        return False
    return True


def as_number(text):
    """The CSV field as a finite number, or None for a text (nan and infinities included)."""
    try:
        value = float(text)
    except ValueError:
        return None
    return value if math.isfinite(value) else None


# --- the readers -----------------------------------------------------------------------------------

def check_openpyxl(rows, workbook_path):
    try:
        import openpyxl
    except ImportError:
        skip("python3-openpyxl is not installed")
    book = openpyxl.load_workbook(workbook_path)
    if book.sheetnames != ["说明", RECORD_SHEET]:
        fail(f"sheets {book.sheetnames}")
    sheet = book[RECORD_SHEET]
    if (sheet.max_row, sheet.max_column) != (len(rows), len(rows[0])):
        fail(f"sheet is {sheet.max_row} x {sheet.max_column}, CSV {len(rows)} x {len(rows[0])}")
    if sheet.freeze_panes != "A2":
        fail(f"heading not frozen: {sheet.freeze_panes}")
    checked = {"number": 0, "time": 0, "text": 0}
    for r, (expected_row, cells) in enumerate(zip(rows, sheet.iter_rows())):
        for c, (expected, cell) in enumerate(zip(expected_row, cells)):
            where = f"{cell.coordinate} (CSV {expected!r})"
            value = cell.value
            if r == 0:
                if value != expected or not cell.font.b:
                    fail(f"{where}: heading {value!r}, bold {cell.font.b}")
                continue
            number = as_number(expected)
            if c == TIME_COLUMN and is_date_time(expected):
                if not cell.is_date or value.strftime("%Y-%m-%d %H:%M:%S") != expected or cell.number_format != TIME_FORMAT:
                    fail(f"{where}: date-time {value!r} shown {cell.number_format!r}")
                checked["time"] += 1
            elif number is not None and c != 3:  # instrumentId is hexadecimal text, even all digits
                if isinstance(value, str) or isinstance(value, bool) or value != number:
                    fail(f"{where}: {value!r} is not the number {number!r}")
                checked["number"] += 1
            else:
                if value != expected:
                    fail(f"{where}: {value!r} is not the text")
                checked["text"] += 1
    return checked


def check_libreoffice(rows, workbook_path, folder):
    soffice = shutil.which("soffice")
    if soffice is None:
        skip("soffice (LibreOffice) is not installed")
    profile = os.path.join(folder, "lo-profile")
    out = os.path.join(folder, "lo")
    # 44 comma, 34 quote, 76 UTF-8, first line 1, the defaults up to the 12th token: the second sheet,
    # the records. Cells as shown, so date-times come in their format and numbers in their decimals.
    result = subprocess.run([soffice, f"-env:UserInstallation=file://{profile}", "--headless",
                             "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,2",
                             "--outdir", out, workbook_path],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    written = sorted(os.listdir(out)) if os.path.isdir(out) else []
    if result.returncode != 0 or len(written) != 1:
        fail(f"LibreOffice did not convert: {result.stdout.decode(errors='replace')} {written}")
    converted = os.path.join(out, written[0])
    with open(converted, encoding="utf-8", newline="") as f:
        seen = list(csv.reader(f))
    if len(seen) != len(rows):
        fail(f"LibreOffice reads {len(seen)} rows, the CSV has {len(rows)}")
    for r, (expected_row, row) in enumerate(zip(rows, seen)):
        if len(row) != len(expected_row):
            fail(f"row {r + 1}: LibreOffice reads {len(row)} cells, the CSV has {len(expected_row)}")
        for c, (expected, text) in enumerate(zip(expected_row, row)):
            number = as_number(expected)
            same = text == expected or (number is not None and c != 3 and shown_as(text, number))
            if not same:
                fail(f"row {r + 1} column {c + 1}: LibreOffice reads {text!r}, the CSV has {expected!r}")
    return len(rows) * len(rows[0])


def shown_as(text, number):
    """Whether a number shown in a column's format ("5.775" for 0.000) is the value rounded to the
    decimals shown, give or take a four-byte float's last digit."""
    seen = as_number(text)
    if seen is None:
        return False
    decimals = len(text.split(".")[1]) if "." in text and "e" not in text.lower() else 0
    step = 10.0 ** -decimals if decimals else (1.0 if "e" not in text.lower() else abs(number) * 1e-6)
    return abs(seen - number) <= step / 2 + abs(number) * 1e-7


def sheet_rows(workbook_path):
    """The row numbers of the records sheet's XML (after the notes), read as a stream: a day of records is far too large
    for a reader that builds every cell."""
    numbers = []
    pattern = re.compile(rb'<row r="(\d+)"')
    with zipfile.ZipFile(workbook_path) as book, book.open("xl/worksheets/sheet2.xml") as xml:
        tail = b""
        while chunk := xml.read(1 << 24):
            data = tail + chunk
            cut = data.rfind(b"<row ")
            cut = len(data) if cut < 0 else cut
            numbers += [int(n) for n in pattern.findall(data, 0, cut)]
            tail = data[cut:]
        numbers += [int(n) for n in pattern.findall(tail)]
    return numbers


# --- the cases ---------------------------------------------------------------------------------------

def readers_case(cli, reader):
    with tempfile.TemporaryDirectory() as folder:
        record_path = os.path.join(folder, "fixture.bin")
        with open(record_path, "wb") as f:
            f.write(record_file(fixture_frames(), IDS))
        workbook_path = os.path.join(folder, "fixture.xlsx")
        rows = csv_rows(dump(cli, record_path, workbook_path, "--bom"), True)
        if len(rows) != 6:
            fail(f"{len(rows)} CSV rows, expected a heading and 5 records")
        # The fixture's odd cells must really be there, or the checks below prove little.
        if rows[1][3] != "00120409" or rows[2][3] != "0012AB09" or rows[3][1] != "2013-1A-21 09:58:49" \
                or rows[4][1] != "2012-02-30 23:59:59" or "e-" not in rows[1][8]:
            fail(f"fixture not as built: {rows[1][3]} {rows[3][1]} {rows[4][1]} {rows[1][8]}")
        if reader == "openpyxl":
            with zipfile.ZipFile(workbook_path) as book:
                if book.testzip() is not None:
                    fail(f"the archive's entry {book.testzip()} does not match its CRC")
            checked = check_openpyxl(rows, workbook_path)
            if checked["time"] != 3 or checked["number"] < 5 * 430:
                fail(f"too few cells of a kind checked: {checked}")
            print("openpyxl: every cell as in the CSV", checked)
        else:
            count = check_libreoffice(rows, workbook_path, folder)
            print(f"LibreOffice: all {count} cells as in the CSV")
        # --first and --count pick the same records for both outputs.
        part = csv_rows(dump(cli, record_path, workbook_path, "--first", "2", "--count", "2"), False)
        if part != [rows[0], rows[2], rows[3]]:
            fail("--first 2 --count 2 printed other rows")
        if reader == "openpyxl":
            check_openpyxl(part, workbook_path)


def full_day_case(cli):
    try:
        import openpyxl
    except ImportError:
        skip("python3-openpyxl is not installed")
    with tempfile.TemporaryDirectory() as folder:
        record_path = os.path.join(folder, "day.bin")
        subprocess.run([cli, "generate", record_path, "--records", "86400", "--start", "2013-07-21 00:00:00",
                        "--interval", "1"],
                       check=True)
        workbook_path = os.path.join(folder, "day.xlsx")
        csv_path = os.path.join(folder, "day.csv")
        with open(csv_path, "wb") as out:
            result = subprocess.run([cli, "dump", record_path, "--xlsx", workbook_path, "--headers", "id"], stdout=out)
        if result.returncode != 0:
            fail(f"dump exited {result.returncode}")
        with open(csv_path, newline="", encoding="utf-8") as f:
            reader = csv.reader(f)
            first = [next(reader), next(reader)]
            count = 2
            last = None
            for last in reader:
                count += 1
        if count != 86401 or last[1] != "2013-07-21 23:59:59":
            fail(f"CSV has {count} rows, the last at {last[1]}")
        numbers = sheet_rows(workbook_path)
        if numbers != list(range(1, 86402)):
            fail(f"the sheet's rows are not 1..86401: {len(numbers)} rows, last {numbers[-1:]}")
        sheet = openpyxl.load_workbook(workbook_path, read_only=True)[RECORD_SHEET]
        if sheet.max_row != 86401 or sheet.max_column != len(first[0]):
            fail(f"openpyxl sees {sheet.max_row} x {sheet.max_column}")
        top = [[cell.value for cell in row] for row in sheet.iter_rows(max_row=2)]
        if top[0] != first[0] or top[1][0] != 0 or top[1][1].strftime("%Y-%m-%d %H:%M:%S") != first[1][1] \
                or top[1][5] != float(first[1][5]):
            fail(f"first rows differ: {top[1][:6]} against {first[1][:6]}")
        print(f"full day: 86 401 rows in the CSV and the sheet; workbook {os.path.getsize(workbook_path)} bytes")


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("openpyxl", "libreoffice", "full-day"):
        print(__doc__)
        return 2
    cli, case = sys.argv[1], sys.argv[2]
    if case == "full-day":
        full_day_case(cli)
    else:
        readers_case(cli, case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
