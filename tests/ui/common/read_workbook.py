#!/usr/bin/env python3
"""Prints a workbook's first sheet as JSON rows, each cell tagged with its type,
read by an independent reader (openpyxl)."""
import datetime
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = []
for row in sheet.iter_rows():
    out = []
    for cell in row:
        v = cell.value
        if v is None:
            out.append(["empty", ""])
        elif isinstance(v, datetime.datetime):
            out.append(["date", v.strftime("%Y-%m-%d")])
        elif isinstance(v, (int, float)):
            out.append(["number", repr(float(v))])
        else:
            out.append(["text", str(v)])
    rows.append(out)
print(json.dumps({"title": sheet.title, "rows": rows}, ensure_ascii=False))
