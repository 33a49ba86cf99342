#!/usr/bin/env bash
# Remakes the receipt templates of tests/data/editors/ with the editors themselves, from the
# sources beside them: LibreOffice Writer (as RTF, also by way of .docx and from HTML), AbiWord,
# pandoc, python-docx (a Word document LibreOffice then saves as RTF) and Perl's
# Pod::Simple::RTF. catatan.fodt holds comments anchored inside placeholders and a split
# placeholder in a footnote. word.rtf is written by hand the way Word writes RTF. Needs the Debian
# packages libreoffice-writer, abiword, pandoc, python3-docx and perl; the results are kept in
# the repository, so the tests need none of them.
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
/usr/bin/python3 kwitansi-docx.py "$work/python-docx.docx"
office --convert-to rtf --outdir "$work" "$work/python-docx.docx"
mv "$work/python-docx.rtf" lo-python-docx.rtf
perl -MPod::Simple::RTF -e 'Pod::Simple::RTF->filter(shift)' kwitansi.pod >pod-simple.rtf
