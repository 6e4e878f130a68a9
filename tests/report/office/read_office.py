#!/usr/bin/python3
"""Reads a .docx or .xlsx back with independent libraries and prints what it holds as JSON.

  read_office.py docx FILE   -> {"body": [...], "paragraphs": [...], "tables": [[[cell]]]}
  read_office.py xlsx FILE   -> {"sheets": [...], "merged": [...], "cells": {...},
                               "columns": [{"min", "max", "horizontal", "vertical"}],
                               "page": {"fitToPage", "fitToWidth", "fitToHeight", ...},
                               "otherPages": {sheet: {page..., "widths", "titleRows"}}}

A table cell is {"span": N, "text": T}; a sheet cell is {"value": V, "type": T,
"format": number format, "bold": B, "border": [left, right, top, bottom],
"horizontal": H, "vertical": V}.
"""
import json
import sys


def read_docx(path):
    import docx
    from docx.oxml.ns import qn

    document = docx.Document(path)
    body = document.element.body
    result = {"body": [], "paragraphs": [p.text for p in document.paragraphs], "tables": [],
              "rowFlags": []}
    for child in body.iterchildren():
        result["body"].append(child.tag.split("}")[1])
    for table in body.iterchildren(qn("w:tbl")):
        rows = []
        for tr in table.iterchildren(qn("w:tr")):
            cells = []
            for tc in tr.iterchildren(qn("w:tc")):
                span = tc.find(qn("w:tcPr") + "/" + qn("w:gridSpan"))
                texts = ["".join(t.text or "" for t in p.iter(qn("w:t"))) for p in tc.iter(qn("w:p"))]
                cells.append({"span": int(span.get(qn("w:val"))) if span is not None else 1,
                              "text": "\n".join(texts)})
            rows.append(cells)
        result["tables"].append(rows)
        # Per row: whether a page break may cut it, and whether it keeps with the next row.
        result["rowFlags"].append([
            {"cantSplit": tr.find(qn("w:trPr") + "/" + qn("w:cantSplit")) is not None,
             "keepNext": any(p.find(qn("w:pPr") + "/" + qn("w:keepNext")) is not None
                             for p in tr.iter(qn("w:p")))}
            for tr in table.iterchildren(qn("w:tr"))])
    # Each picture: the body child holding it and the part it shows.
    result["pictures"] = []
    for index, child in enumerate(body.iterchildren()):
        for blip in child.iter(qn("a:blip")):
            part = document.part.related_parts[blip.get(qn("r:embed"))]
            result["pictures"].append({"at": index, "contentType": part.content_type,
                                       "png": part.blob[:8] == b"\x89PNG\r\n\x1a\n"})
    import re
    import zipfile
    with zipfile.ZipFile(path) as package:
        app = package.read("docProps/app.xml").decode("utf-8")
    application = re.search(r"<Application>([^<]*)</Application>", app)
    core = document.core_properties
    result["properties"] = {"author": core.author, "lastModifiedBy": core.last_modified_by,
                            "created": core.created.isoformat() if core.created else None,
                            "application": application.group(1) if application else None}
    section = document.sections[0]
    result["page"] = {"width": section.page_width, "height": section.page_height,
                      "header": [p.text for p in section.header.paragraphs]}
    return result


def default_one(value):
    return 1 if value is None else int(value)


def read_xlsx(path):
    import openpyxl

    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    cells = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            cells[cell.coordinate] = {"value": cell.value, "type": cell.data_type,
                                      "format": cell.number_format,
                                      "bold": bool(cell.font.b),
                                      "border": [cell.border.left.style, cell.border.right.style,
                                                 cell.border.top.style, cell.border.bottom.style],
                                      "horizontal": cell.alignment.horizontal,
                                      "vertical": cell.alignment.vertical}
    columns = []
    for dimension in sheet.column_dimensions.values():
        style = book._cell_styles[dimension.style_id] if dimension.style_id else None
        alignment = book._alignments[style.alignmentId] if style is not None else None
        columns.append({"min": dimension.min, "max": dimension.max,
                        "horizontal": alignment.horizontal if alignment else None,
                        "vertical": alignment.vertical if alignment else None})
    # Any further sheet as rows of plain values, None for an empty cell.
    others = {ws.title: [list(r) for r in ws.iter_rows(values_only=True)]
              for ws in book.worksheets[1:]}
    return {"sheets": book.sheetnames,
            "others": others,
            "merged": sorted(str(r) for r in sheet.merged_cells.ranges),
            "cells": cells,
            "maxRow": sheet.max_row if cells else 0,
            "columns": columns,
            "page": page_of(sheet),
            "otherPages": {ws.title: dict(page_of(ws), widths={
                letter: d.width for letter, d in ws.column_dimensions.items()},
                titleRows=ws.print_title_rows) for ws in book.worksheets[1:]}}


def page_of(sheet):
    return {"fitToPage": bool(sheet.sheet_properties.pageSetUpPr is not None
                              and sheet.sheet_properties.pageSetUpPr.fitToPage),
            # An absent attribute is the file format's default, 1.
            "fitToWidth": default_one(sheet.page_setup.fitToWidth),
            "fitToHeight": default_one(sheet.page_setup.fitToHeight),
            "orientation": sheet.page_setup.orientation,
            "paperSize": sheet.page_setup.paperSize}


def main():
    kind, path = sys.argv[1], sys.argv[2]
    result = read_docx(path) if kind == "docx" else read_xlsx(path)
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
