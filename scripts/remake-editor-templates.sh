#!/usr/bin/env bash
# Remakes the receipt templates of tests/data/editors/ with the editors themselves, from the
# sources beside them: LibreOffice Writer (as RTF, also by way of .docx and from HTML), AbiWord,
# pandoc, python-docx (a Word document, written by the Python below, that LibreOffice then saves
# as RTF) and Perl's Pod::Simple::RTF. catatan.fodt holds comments anchored inside placeholders
# and a split placeholder in a footnote. word.rtf is written by hand the way Word writes RTF.
# Needs the Debian packages libreoffice-writer, abiword, pandoc, python3-docx and perl; the
# results are kept in the repository, so the tests need none of them.
set -euo pipefail
cd "$(dirname "$0")/../tests/data/editors"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
office() { soffice -env:UserInstallation="file://$work/profile" --headless "$@" >/dev/null; }

office --convert-to rtf --outdir "$work" kwitansi.fodt
mv "$work/kwitansi.rtf" lo-writer.rtf
office --convert-to docx --outdir "$work" kwitansi.fodt
office --convert-to rtf --outdir "$work" "$work/kwitansi.docx"
mv "$work/kwitansi.rtf" lo-docx.rtf
office --infilter="HTML (StarWriter)" --convert-to rtf --outdir "$work" kwitansi.html
mv "$work/kwitansi.rtf" lo-html.rtf
abiword --to=rtf -o abiword.rtf kwitansi.html
pandoc -s -t rtf -o pandoc.rtf kwitansi.md
office --convert-to rtf --outdir "$work" catatan.fodt
mv "$work/catatan.rtf" lo-catatan.rtf
office --convert-to odt --outdir "$work" catatan.fodt # AbiWord reads no flat ODF
abiword --to=rtf -o abiword-catatan.rtf "$work/catatan.odt"
# A Word document as python-docx writes it: placeholders split into runs of their own formatting,
# as Word splits what was typed in several goes, in the header, paragraphs and a table.
/usr/bin/python3 - "$work/python-docx.docx" <<'PYTHON'
import sys
from docx import Document
from docx.shared import RGBColor

document = Document()

def runs(paragraph, *parts):
    """Plain text, or (text, "b"/"i"/a colour) for a run of its own."""
    for part in parts:
        text, look = part if isinstance(part, tuple) else (part, "")
        run = paragraph.add_run(text)
        run.bold, run.italic = look == "b" or None, look == "i" or None
        if len(look) == 6:
            run.font.color.rgb = RGBColor.from_string(look)

runs(document.sections[0].header.paragraphs[0], "[NAMA_", ("PERUSAHAAN", "b"), "]")
runs(document.add_paragraph(), ("[DESCRIPSI_PER", "i"), "USAHAAN]")
runs(document.add_paragraph(), "[ALAMAT", ("_", "C00000"), "PERUSAHAAN]")
runs(document.add_paragraph(), "KWITANSI No. ", ("[NOMOR_RESIPA", "b"), "] Tanggal [TGL_", "RESIPA]")
table = document.add_table(rows=3, cols=2)
for row, (label, parts) in enumerate([("Telah terima dari", ["[N", ("AMA]", "b")]),
                                      ("Uang sejumlah", [("[TERBI", "i"), "LANG]"]),
                                      ("Untuk pembayaran", ["[KETERANGAN", ("]", "b")])]):
    table.cell(row, 0).text = label
    runs(table.cell(row, 1).paragraphs[0], *parts)
runs(document.add_paragraph(), "Jumlah ", ("[JUM", "b"), ("LAH]", "i"))
runs(document.add_paragraph(), ("[", "0000C0"), "KOTA], [TGL_RESIPA]")
runs(document.add_paragraph(), "Transfer ke [NAMA_BANK", ("]", "i"), " No. Rek. [A", ("CC]", "b"),
     " a.n. [ATAS_", ("NAMA", "C00000"), "]")
runs(document.add_paragraph(), ("[NAMA_PIM", "b"), ("PINAN]", "b"))
document.save(sys.argv[1])
PYTHON
office --convert-to rtf --outdir "$work" "$work/python-docx.docx"
mv "$work/python-docx.rtf" lo-python-docx.rtf
perl -MPod::Simple::RTF -e 'Pod::Simple::RTF->filter(shift)' kwitansi.pod >pod-simple.rtf
