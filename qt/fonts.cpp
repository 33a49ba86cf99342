#include "qt/fonts.h"

#include <utility>

#include <QApplication>
#include <QFont>

namespace resipa {

void useStandInFonts() {
    static bool applied = false;
    if (std::exchange(applied, true))
        return;
    // Best first, by the widths of the window's captions at 96 dpi: DejaVu Sans Condensed Bold
    // keeps the Tahoma captions within 5 % of their records but for "Nomor Resipa", whose
    // record is wider than its caption in every face; plain DejaVu Sans Bold is up to 12 %
    // wider. Liberation Sans has Arial's widths. Without any of them fontconfig's default sans
    // face still shows every caption, only wider.
    const QString condensed = QStringLiteral("DejaVu Sans Condensed");
    const QString liberation = QStringLiteral("Liberation Sans");
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {condensed, liberation, dejaVu});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {liberation, condensed, dejaVu});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {liberation, condensed, dejaVu});
    QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
}

} // namespace resipa
