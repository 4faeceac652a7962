#include "print/PrintFonts.h"

#include "core/DomainWords.h"
#include "platform/FontResolver.h"

#include <QFontDatabase>

QStringList InstalledJapaneseFaces() {
    QStringList faces;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese))
        if (QFontDatabase::isSmoothlyScalable(family) && !family.startsWith(kVerticalFaceMark))
            faces << family;
    faces.sort();
    faces.removeDuplicates();
    return faces;
}

QStringList FontListEntries(const QStringList &faces, bool vertical) {
    QStringList entries;
    for (const QString &face : faces)
        entries << (vertical ? kVerticalFaceMark + face : face);
    return entries;
}

QString ChooseFontEntry(const QStringList &entries, const QString &wanted) {
    if (entries.isEmpty())
        return {};
    if (entries.contains(wanted))
        return wanted;
    if (entries.contains(kVerticalFaceMark + wanted))
        return kVerticalFaceMark + wanted;
    const bool vertical = entries.first().startsWith(kVerticalFaceMark);
    const QString installed = FontResolver::FamilyFor(wanted);
    const QString entry = vertical ? kVerticalFaceMark + installed : installed;
    if (entries.contains(entry))
        return entry;
    return entries.first();
}
