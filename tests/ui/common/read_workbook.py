#!/usr/bin/env python3
"""Prints a workbook's sheets (the first one also on its own) as JSON rows, each cell tagged with its type,
read by an independent reader (openpyxl)."""
import datetime
import json
import sys

import openpyxl

def sheet_rows(sheet):
    rows = []
    for row in sheet.iter_rows():
        out = []
        for cell in row:
            v = cell.value
            if v is None:
                out.append(["empty", ""])
            elif cell.data_type == "f":
                out.append(["formula", str(v)])
            elif isinstance(v, datetime.datetime):
                out.append(["date", v.strftime("%Y-%m-%d")])
            elif isinstance(v, (int, float)):
                out.append(["number", repr(float(v))])
            else:
                out.append(["text", str(v)])
        rows.append(out)
    return rows


book = openpyxl.load_workbook(sys.argv[1])
sheets = [{"title": s.title, "rows": sheet_rows(s)} for s in book.worksheets]
print(json.dumps({"title": sheets[0]["title"], "rows": sheets[0]["rows"], "sheets": sheets},
                 ensure_ascii=False))
