#!/usr/bin/python3
"""Writes kwitansi.docx with python-docx: placeholders split into runs of their own formatting,
as Word splits what was typed in several goes, in paragraphs, a table and the header."""
import sys

from docx import Document
from docx.shared import Pt, RGBColor

document = Document()


def paragraph(*runs, into=None):
    """A paragraph of runs: plain text, or (text, bold, italic, colour)."""
    p = (into or document).add_paragraph()
    for run in runs:
        text, bold, italic, colour = run if isinstance(run, tuple) else (run, None, None, None)
        r = p.add_run(text)
        r.bold, r.italic = bold, italic
        if colour:
            r.font.color.rgb = RGBColor.from_string(colour)
    return p


paragraph("[NAMA_", ("PERUSAHAAN", True, None, None), "]",
          into=document.sections[0].header)
heading = paragraph(("[DESCRIPSI_PER", None, True, None), "USAHAAN]")
heading.runs[0].font.size = Pt(14)
paragraph("[ALAMAT", ("_", None, None, "C00000"), "PERUSAHAAN]")
paragraph("KWITANSI No. ", ("[NOMOR_RESIPA", True, None, None), "] Tanggal [TGL_", "RESIPA]")
table = document.add_table(rows=3, cols=2)
for row, (label, runs) in enumerate([
        ("Telah terima dari", ["[N", ("AMA]", True, None, None)]),
        ("Uang sejumlah", [("[TERBI", None, True, None), "LANG]"]),
        ("Untuk pembayaran", ["[KETERANGAN", ("]", True, None, None)])]):
    table.cell(row, 0).text = label
    cell = table.cell(row, 1).paragraphs[0]
    for run in runs:
        text, bold, italic, _ = run if isinstance(run, tuple) else (run, None, None, None)
        r = cell.add_run(text)
        r.bold, r.italic = bold, italic
paragraph("Jumlah ", ("[JUM", True, None, None), ("LAH]", True, True, None))
paragraph(("[", None, None, "0000C0"), "KOTA], [TGL_RESIPA]")
paragraph("Transfer ke [NAMA_BANK", ("]", None, True, None), " No. Rek. [A", ("CC]", True, None, None),
          " a.n. [ATAS_", ("NAMA", None, None, "C00000"), "]")
paragraph(("[NAMA_PIM", True, None, None), ("PINAN]", True, None, None))
document.save(sys.argv[1])
