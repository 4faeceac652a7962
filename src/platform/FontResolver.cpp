#include "platform/FontResolver.h"

#include <QFontDatabase>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <fontconfig/fontconfig.h>

namespace FontResolver {

namespace {

QString WithoutVerticalMark(const QString &faceName) {
    QString name = faceName.trimmed();
    while (name.startsWith(u'@'))
        name.remove(0, 1);
    return name.trimmed();
}

// Compatibility forms folded, lower case, blanks and underscores dropped: "ＭＳ Ｐゴシック"
// and "MS_ゴシック" become "mspゴシック" and "msゴシック".
QString MatchKey(const QString &name) {
    QString key = name.normalized(QString::NormalizationForm_KC).toLower();
    key.remove(u' ');
    key.remove(u'_');
    key.remove(QChar(0x3000));
    return key;
}

QStringList Candidates(const QString &name) {
    const QString key = MatchKey(name);
    const bool mincho = key.contains(u"明朝") || key.contains(u"mincho");
    const bool gothic = key.contains(u"ゴシック") || key.contains(u"gothic");
    const bool proportional = key.contains(u"p明朝") || key.contains(u"pmincho") ||
                              key.contains(u"pゴシック") || key.contains(u"pgothic") ||
                              key.contains(u"ui");
    if (mincho)
        return proportional ? QStringList{"IPAPMincho", "IPAexMincho", "IPAMincho"}
                            : QStringList{"IPAMincho", "IPAexMincho", "IPAPMincho"};
    if (gothic && !proportional)
        return {"IPAGothic", "IPAexGothic", "IPAPGothic"};
    return {"IPAPGothic", "IPAexGothic", "IPAGothic"};
}

// Every name of every installed family, in each language the font carries ("IPAMincho" and
// "IPA明朝"), keyed by MatchKey, to the one name Qt lists it under: a face saved under one
// desktop language is still found under another.
QHash<QString, QString> InstalledFamilies() {
    QHash<QString, QString> byName;
    QSet<QString> listed;
    for (const QString &family : QFontDatabase::families()) {
        listed.insert(MatchKey(family));
        byName.insert(MatchKey(family), family);
    }
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *properties = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, properties);
    for (int f = 0; fonts && f < fonts->nfont; ++f) {
        QStringList names;
        FcChar8 *name = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[f], FC_FAMILY, n, &name) == FcResultMatch;
             ++n)
            names << QString::fromUtf8(reinterpret_cast<const char *>(name));
        const auto shown = std::find_if(names.begin(), names.end(), [&](const QString &n) {
            return listed.contains(MatchKey(n));
        });
        if (shown == names.end())
            continue;
        const QString family = byName.value(MatchKey(*shown));
        for (const QString &other : std::as_const(names))
            byName.insert(MatchKey(other), family);
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(properties);
    FcPatternDestroy(pattern);
    return byName;
}

// The name Qt knows an installed family by, empty when no installed family has that name.
QString InstalledFamily(const QString &name) {
    static const QHash<QString, QString> families = InstalledFamilies();
    return families.value(MatchKey(name));
}

} // namespace

bool IsVerticalFace(const QString &faceName) {
    return faceName.trimmed().startsWith(u'@');
}

QString FamilyFor(const QString &faceName) {
    static QHash<QString, QString> resolved;
    const auto known = resolved.constFind(faceName);
    if (known != resolved.constEnd())
        return *known;
    const QString name = WithoutVerticalMark(faceName);
    QString family = name.isEmpty() ? QString() : InstalledFamily(name);
    for (const QString &candidate : Candidates(name))
        if (family.isEmpty())
            family = InstalledFamily(candidate);
    if (family.isEmpty())
        family = name;
    resolved.insert(faceName, family);
    return family;
}

QFont MakeFont(const QString &faceName, int height, bool bold, bool italic, bool underline) {
    QFont font(FamilyFor(faceName));
    font.setPixelSize(std::max(1, height));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(false);
    // Texts are measured character by character; kerning would make a whole line differ.
    font.setKerning(false);
    // Unhinted advances keep measurements the same on the preview and on the printer.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace FontResolver
