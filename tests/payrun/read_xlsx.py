"""Prints the first worksheet of an .xlsx file as JSON: one list per row,
each cell as [type, value, number format] with dates as YYYY-MM-DD."""
import datetime
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = []
for row in sheet.iter_rows():
    cells = []
    for cell in row:
        value = cell.value
        if isinstance(value, datetime.datetime):
            cells.append(["date", value.strftime("%Y-%m-%d"), cell.number_format])
        elif isinstance(value, (int, float)) and not isinstance(value, bool):
            cells.append(["number", value, cell.number_format])
        elif value is None:
            cells.append(["empty", None, cell.number_format])
        else:
            cells.append(["text", str(value), cell.number_format])
    rows.append(cells)
print(json.dumps({"title": sheet.title, "rows": rows}, ensure_ascii=False))
