#include "platform/FontResolver.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>
#include <algorithm>

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

bool Installed(const QString &family) {
    static const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(), [&](const QString &installed) {
        return installed.compare(family, Qt::CaseInsensitive) == 0;
    });
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
    QString family = name;
    if (name.isEmpty() || !Installed(name)) {
        const QStringList candidates = Candidates(name);
        const auto found = std::find_if(candidates.begin(), candidates.end(), Installed);
        if (found != candidates.end())
            family = *found;
    }
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
