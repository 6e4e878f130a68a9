#!/usr/bin/python3
"""Times the Word table and the Excel workbook for about a million readings (and the
workbook of a merged file of 100 x 32,767 readings), written by our writers and by python3-docx / python3-xlsxwriter with the same layout, each in its
own process, and prints times, ratios and peak memory (maximum resident set).

  /usr/bin/python3 bench/office/run_office_bench.py BUILD_DIR [READINGS]
"""
import os
import subprocess
import sys
import tempfile
import time

DATE = "2015年03月07日"


def components(wanted):
    """The same made-up file as bench_office_writers.cpp."""
    total, i = 0, 0
    while total < wanted:
        count = (i * 37) % 101
        values = [(i * 131 + j * 17) % 200 for j in range(count)]
        yield "%04d" % (i % 10000), "梁%d" % i, values
        total += count
        i += 1


def average(values):
    return sum(values) / len(values) if values else 0.0


def write_xlsx(path, wanted, constant_memory):
    import xlsxwriter

    book = xlsxwriter.Workbook(path, {"constant_memory": constant_memory})
    sheet = book.add_worksheet("报表1")
    fmt = book.add_format({"align": "left", "valign": "vjustify"})
    row = 0
    for number, name, values in components(wanted):
        texts = ["%s(%s)" % (number, name), "电阻率:%.1f KΩ*cm" % average(values), DATE, ""]
        for block, text in enumerate(texts):
            sheet.merge_range(row, block * 3, row, block * 3 + 2, text, fmt)
        for j, v in enumerate(values):
            sheet.write_string(row + 1 + j // 10, j % 10, "0" if v == 0 else "%.1f" % v, fmt)
        row += 1 + (max(1, (len(values) + 9) // 10))
    # After the rows, as ours does: a formatted column range widens the sheet's extent,
    # which constant_memory mode walks for every row it writes. The default mode walks
    # it for every row at the end whatever the order, and takes hours with all 16384
    # columns, so it formats only the columns it uses, A to L.
    sheet.set_column(0, 16383 if constant_memory else 11, None, fmt)
    book.close()


def write_xlsx_merged(path):
    """The cells our export writes for the merged file (see bench_office_writers.cpp):
    readings as numbers in two number formats, bold bordered heading blocks, and a
    summary sheet of the same size whose figures are cheap stand-ins (no medians)."""
    import xlsxwriter

    book = xlsxwriter.Workbook(path, {"constant_memory": True, "use_zip64": True})
    sheet = book.add_worksheet("报表1")
    aligned = {"align": "left", "valign": "vjustify"}
    fmt = book.add_format(aligned)
    heading = book.add_format(dict(aligned, bold=True, border=1))
    reading = book.add_format(dict(aligned, num_format="0.0"))
    zero = book.add_format(dict(aligned, num_format="0"))
    sheet.set_paper(9)
    sheet.fit_to_pages(1, 0)
    row, summary = 0, []
    for i in range(100):
        values = [(i * 131 + j * 17) % 200 for j in range(32767)]
        mean = sum(values) / len(values)
        summary.append((str(i + 1), values, mean))
        texts = ["%d()" % (i + 1), "电阻率:%.1f KΩ*cm" % mean, "", ""]
        for block, text in enumerate(texts):
            sheet.merge_range(row, block * 3, row, block * 3 + 2, text, heading)
        for j, v in enumerate(values):
            sheet.write_number(row + 1 + j // 10, j % 10, float(v), zero if v == 0 else reading)
        row += 1 + (len(values) + 9) // 10
    sheet.set_column(0, 16383, None, fmt)
    sums = book.add_worksheet("统计汇总")
    bold = book.add_format({"bold": True})
    decimal = book.add_format({"num_format": "0.0"})
    for c in range(23):
        sums.write_string(0, c, "标题%d" % c, bold)
    for r, (number, values, mean) in enumerate(summary, start=1):
        sums.write_string(r, 0, number)
        sums.write_string(r, 1, "")
        for c in range(2, 23):
            sums.write_number(r, c, mean, decimal)
    book.close()


def write_docx_api(path, wanted, template):
    """python3-docx's table API: add_row, merge, cell text."""
    import docx
    from docx.table import _Cell

    # Row.cells walks the whole table each time; taking the cells of the row's own XML
    # avoids that much, but add_row and merge still look the row up among all rows.
    def row_cells(row):
        return [_Cell(tc, table) for tc in row._tr.tc_lst]

    document = docx.Document(template)
    document.add_paragraph("数据列表：")
    table = document.add_table(rows=0, cols=10)
    table.style = "Table Grid"
    empty_rows = 0
    for number, name, values in components(wanted):
        heading = row_cells(table.add_row())
        merged = heading[0].merge(heading[9])
        merged.text = heading_text(number, name, values)
        for first in range(0, len(values), 10):
            cells = row_cells(table.add_row())
            for c, v in enumerate(values[first:first + 10]):
                cells[c].text = "%.1f" % v
        if not values:
            empty_rows += 1
    for _ in range(empty_rows):
        table.add_row()
    document.save(path)


def write_docx_xml(path, wanted, template):
    """python3-docx for the package, the table built straight into its lxml tree."""
    import docx
    from docx.oxml.ns import qn
    from lxml import etree

    document = docx.Document(template)
    document.add_paragraph("数据列表：")
    table = document.add_table(rows=0, cols=10)
    table.style = "Table Grid"
    tbl = table._tbl
    sub = etree.SubElement
    tr_tag, tc_tag, p_tag, r_tag, t_tag = (qn("w:tr"), qn("w:tc"), qn("w:p"), qn("w:r"), qn("w:t"))

    def cell(tr, text):
        tc = sub(tr, tc_tag)
        p = sub(tc, p_tag)
        if text is not None:
            sub(sub(p, r_tag), t_tag).text = text
        return tc

    empty_rows = 0
    for number, name, values in components(wanted):
        tc = cell(sub(tbl, tr_tag), heading_text(number, name, values))
        tc.find(".//" + t_tag).set(qn("xml:space"), "preserve")
        tcPr = etree.Element(qn("w:tcPr"))
        sub(tcPr, qn("w:gridSpan")).set(qn("w:val"), "10")
        tc.insert(0, tcPr)
        for first in range(0, len(values), 10):
            tr = sub(tbl, tr_tag)
            chunk = values[first:first + 10]
            for c in range(10):
                cell(tr, "%.1f" % chunk[c] if c < len(chunk) else None)
        if not values:
            empty_rows += 1
    for _ in range(empty_rows):
        tr = sub(tbl, tr_tag)
        for _ in range(10):
            cell(tr, None)
    document.save(path)


def heading_text(number, name, values):
    return "%s(%s)         平均电阻率:%.1f KΩ*cm        %s" % (number, name, average(values), DATE)


def run(label, command):
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.monotonic() - start
    if status != 0:
        raise SystemExit("%s failed with status %d" % (label, status))
    return seconds, usage.ru_maxrss / 1024.0


def main():
    build = sys.argv[1]
    wanted = int(sys.argv[2]) if len(sys.argv) > 2 else 1000000
    bench = os.path.join(build, "bin", "bench_office_writers")
    templates = os.path.join(build, "bin", "gangjin")
    template = os.path.join(templates, "表格.docx")
    me = os.path.abspath(__file__)
    with tempfile.TemporaryDirectory() as folder:
        out = lambda name: os.path.join(folder, name)
        small = min(wanted, 20000)
        rows = [
            ("Word table", wanted, "ours", [bench, "docx", out("a.docx"), templates, str(wanted)]),
            ("Word table", wanted, "python3-docx + lxml tree",
             [sys.executable, me, "--docx-xml", out("b.docx"), str(wanted), template]),
            ("Word table", small, "ours", [bench, "docx", out("c.docx"), templates, str(small)]),
            ("Word table", small, "python3-docx table API",
             [sys.executable, me, "--docx-api", out("d.docx"), str(small), template]),
            ("Excel workbook", wanted, "ours", [bench, "xlsx", out("a.xlsx"), templates, str(wanted)]),
            ("Excel workbook", wanted, "python3-xlsxwriter constant_memory",
             [sys.executable, me, "--xlsx", out("b.xlsx"), str(wanted), "1"]),
            ("Excel workbook", wanted, "python3-xlsxwriter default, A-L",
             [sys.executable, me, "--xlsx", out("c.xlsx"), str(wanted), "0"]),
            # The largest file users meet: 100 downloads of 32,767 readings.
            ("Excel merged", 3276700, "ours", [bench, "xlsx", out("m.xlsx"), templates, "merged"]),
            ("Excel merged", 3276700, "python3-xlsxwriter, the same cells",
             [sys.executable, me, "--xlsx-merged", out("n.xlsx")]),
        ]
        print("process wall time, making the data included; peak = maximum resident set")
        results = {}
        for what, count, who, command in rows:
            seconds, peak = run(who, command)
            path = command[2] if who == "ours" else command[3]
            size = os.path.getsize(path) / 1048576.0
            results[(what, count, who)] = seconds
            print("%-15s %8d readings  %-36s %8.2f s %8.1f MiB peak %7.1f MiB file"
                  % (what, count, who, seconds, peak, size))
        for (what, count, who), seconds in results.items():
            if who != "ours":
                print("%s, %d readings: %s takes %.1f times as long as ours"
                      % (what, count, who, seconds / results[(what, count, "ours")]))


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--xlsx":
        write_xlsx(sys.argv[2], int(sys.argv[3]), sys.argv[4] == "1")
    elif len(sys.argv) > 1 and sys.argv[1] == "--xlsx-merged":
        write_xlsx_merged(sys.argv[2])
    elif len(sys.argv) > 1 and sys.argv[1] == "--docx-api":
        write_docx_api(sys.argv[2], int(sys.argv[3]), sys.argv[4])
    elif len(sys.argv) > 1 and sys.argv[1] == "--docx-xml":
        write_docx_xml(sys.argv[2], int(sys.argv[3]), sys.argv[4])
    else:
        main()
