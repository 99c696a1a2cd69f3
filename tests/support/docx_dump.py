#!/usr/bin/env python3
"""Prints what an independent reader (python-docx) sees in a .docx file, one fact a line:

  part NAME                                      (each part of the package in order, every XML part
                                                  parsed; "untyped NAME" follows a part that
                                                  [Content_Types].xml gives no type, "unresolved
                                                  TARGET" a relationship to a part that is not there)
  title TEXT / created YYYY-MM-DDTHH:MM:SS
  page WIDTH HEIGHT TOP RIGHT BOTTOM LEFT       (twips)
  style NAME ASCII EASTASIA bold|- SIZE          (SIZE in half-points, - where the style sets none)
  footer TEXT
then the body in order:
  paragraph STYLE bold|- TEXT
  picture WIDTH HEIGHT BYTES DESCRIPTION         (EMU, the picture part's size)
  pagebreak
  table COLUMNS ROWS WIDTHS HEADINGROWS [split]  (WIDTHS in twips, comma-separated; HEADINGROWS: the
                                                  rows repeated on each page; split: some row may
                                                  break across a page)
  cell ROW COLUMN STYLE TEXT
A line feed in a text prints as \\n, a tab as \\t. Exits 77 when python-docx is not installed."""
import posixpath
import sys
import zipfile
import xml.etree.ElementTree as ElementTree

try:
    import docx
    from docx.oxml.ns import qn
    from docx.table import Table
    from docx.text.paragraph import Paragraph
except ImportError:
    print("SKIPPED: python3-docx is not installed")
    sys.exit(77)

EMU_PER_TWIP = 635


def text(value):
    return value.replace("\n", "\\n").replace("\t", "\\t")


def twips(length):
    return str(length // EMU_PER_TWIP)


RELATIONSHIPS = "{http://schemas.openxmlformats.org/package/2006/relationships}Relationship"
CONTENT_TYPES = "{http://schemas.openxmlformats.org/package/2006/content-types}"

with zipfile.ZipFile(sys.argv[1]) as package:
    names = package.namelist()
    types = ElementTree.fromstring(package.read("[Content_Types].xml"))
    defaults = {element.get("Extension") for element in types.iter(CONTENT_TYPES + "Default")}
    overrides = {element.get("PartName") for element in types.iter(CONTENT_TYPES + "Override")}
    for name in names:
        print(f"part {name}")
        if name.endswith((".xml", ".rels")):
            root = ElementTree.fromstring(package.read(name))
        if name != "[Content_Types].xml" and "/" + name not in overrides and name.rsplit(".", 1)[-1] not in defaults:
            print(f"untyped {name}")
        if name.endswith(".rels"):
            source_folder = posixpath.dirname(posixpath.dirname(name))
            for relationship in root.iter(RELATIONSHIPS):
                target = posixpath.normpath(posixpath.join(source_folder, relationship.get("Target")))
                if target not in names:
                    print(f"unresolved {target}")

document = docx.Document(sys.argv[1])
properties = document.core_properties
print(f"title {text(properties.title)}")
print(f"created {properties.created.strftime('%Y-%m-%dT%H:%M:%S')}")
section = document.sections[0]
print("page " + " ".join(twips(length) for length in (section.page_width, section.page_height, section.top_margin,
                                                       section.right_margin, section.bottom_margin,
                                                       section.left_margin)))
for name in ("Normal", "Heading 1", "Heading 2", "Heading 3", "Table Text", "Table Heading", "Footer"):
    style = document.styles[name]
    fonts = style.element.find(qn("w:rPr") + "/" + qn("w:rFonts"))
    east_asia = fonts.get(qn("w:eastAsia")) if fonts is not None else None
    size = style.font.size
    print(f"style {name} {style.font.name or '-'} {east_asia or '-'} {'bold' if style.font.bold else '-'} "
          f"{round(size.pt * 2) if size is not None else '-'}")
print(f"footer {text(chr(10).join(p.text for p in section.footer.paragraphs))}")

pictures = {shape._inline.docPr.get("id"): shape for shape in document.inline_shapes}
for child in document.element.body.iterchildren():
    if child.tag == qn("w:p"):
        paragraph = Paragraph(child, document)
        drawings = child.findall(".//" + qn("wp:inline"))
        if drawings:
            for inline in drawings:
                shape = pictures[inline.docPr.get("id")]
                blip = inline.graphic.graphicData.pic.blipFill.blip
                blob = document.part.related_parts[blip.embed].blob
                print(f"picture {shape.width} {shape.height} {len(blob)} {text(inline.docPr.get('descr'))}")
        elif child.findall(".//" + qn("w:br") + "[@" + qn("w:type") + "='page']"):
            print("pagebreak")
        else:
            bold = any(run.bold for run in paragraph.runs)
            print(f"paragraph {paragraph.style.name} {'bold' if bold else '-'} {text(paragraph.text)}")
    elif child.tag == qn("w:tbl"):
        table = Table(child, document)
        widths = ",".join(twips(column.width) for column in table.columns)
        heading_rows = sum(1 for row in table.rows if row._tr.find(qn("w:trPr") + "/" + qn("w:tblHeader")) is not None)
        unsplit = all(row._tr.find(qn("w:trPr") + "/" + qn("w:cantSplit")) is not None for row in table.rows)
        print(f"table {len(table.columns)} {len(table.rows)} {widths} {heading_rows}"
              + ("" if unsplit else " split"))
        for r, row in enumerate(table.rows):
            for c, cell in enumerate(row.cells):
                style = cell.paragraphs[0].style.name
                print(f"cell {r} {c} {style} {text(cell.text)}")
