#!/usr/bin/python3
"""Makes 表格.docx, the page the Word table is filled into.

A4, 2.5 cm top and bottom, 2 cm left and right, a letterhead in the page header, page
numbers in the footer, and an empty body: the program puts its caption and table there.
Run with Debian's python3-docx:  /usr/bin/python3 make_template.py [OUTPUT]
"""
import datetime
import sys

import docx
from docx.enum.text import WD_ALIGN_PARAGRAPH
from docx.oxml import OxmlElement
from docx.oxml.ns import qn
from docx.shared import Cm, Pt

LETTERHEAD = "混凝土电阻率检测数据表格"
BODY_FONT = "宋体"


def set_east_asian_font(style, name):
    fonts = style.element.get_or_add_rPr().get_or_add_rFonts()
    fonts.set(qn("w:eastAsia"), name)


def add_bottom_rule(paragraph):
    borders = OxmlElement("w:pBdr")
    bottom = OxmlElement("w:bottom")
    for key, value in (("w:val", "single"), ("w:sz", "6"), ("w:space", "1"), ("w:color", "auto")):
        bottom.set(qn(key), value)
    borders.append(bottom)
    paragraph._p.get_or_add_pPr().append(borders)


def add_field(paragraph, code):
    for kind, text in (("begin", None), (None, code), ("separate", None), (None, "1"),
                       ("end", None)):
        run = paragraph.add_run()
        if kind:
            element = OxmlElement("w:fldChar")
            element.set(qn("w:fldCharType"), kind)
        elif text == code:
            element = OxmlElement("w:instrText")
            element.set(qn("xml:space"), "preserve")
            element.text = " %s " % code
        else:
            element = OxmlElement("w:t")
            element.text = text
        run._r.append(element)


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "表格.docx"
    document = docx.Document()

    section = document.sections[0]
    section.page_width, section.page_height = Cm(21.0), Cm(29.7)
    section.top_margin = section.bottom_margin = Cm(2.5)
    section.left_margin = section.right_margin = Cm(2.0)
    section.header_distance = section.footer_distance = Cm(1.2)

    normal = document.styles["Normal"]
    normal.font.name = "Times New Roman"
    normal.font.size = Pt(10.5)
    set_east_asian_font(normal, BODY_FONT)

    head = section.header.paragraphs[0]
    head.alignment = WD_ALIGN_PARAGRAPH.CENTER
    run = head.add_run(LETTERHEAD)
    run.bold = True
    run.font.size = Pt(14)
    add_bottom_rule(head)

    foot = section.footer.paragraphs[0]
    foot.alignment = WD_ALIGN_PARAGRAPH.CENTER
    foot.add_run("第 ")
    add_field(foot, "PAGE")
    foot.add_run(" 页 / 共 ")
    add_field(foot, "NUMPAGES")
    foot.add_run(" 页")

    # One empty paragraph: where the caption and the table go.
    document.add_paragraph()

    props = document.core_properties
    props.title = "数据表格"
    props.author = props.last_modified_by = "Ohmlet"
    props.comments = ""
    props.revision = 1
    props.created = props.modified = datetime.datetime(2026, 1, 1)

    document.save(output)


if __name__ == "__main__":
    main()
