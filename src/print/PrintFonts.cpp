#include "print/PrintFonts.h"

#include "platform/FontResolver.h"

#include <QFontDatabase>

namespace {
const QString verticalMark = QStringLiteral("@");
}

QStringList InstalledJapaneseFaces() {
    QStringList faces;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese))
        if (QFontDatabase::isSmoothlyScalable(family) && !family.startsWith(verticalMark))
            faces << family;
    faces.sort();
    faces.removeDuplicates();
    return faces;
}

QStringList FontListEntries(const QStringList &faces, bool vertical) {
    QStringList entries;
    for (const QString &face : faces)
        entries << (vertical ? verticalMark + face : face);
    return entries;
}

QString ChooseFontEntry(const QStringList &entries, const QString &wanted) {
    if (entries.isEmpty())
        return {};
    if (entries.contains(wanted))
        return wanted;
    if (entries.contains(verticalMark + wanted))
        return verticalMark + wanted;
    const bool vertical = entries.first().startsWith(verticalMark);
    const QString installed = FontResolver::FamilyFor(wanted);
    const QString entry = vertical ? verticalMark + installed : installed;
    if (entries.contains(entry))
        return entry;
    return entries.first();
}
