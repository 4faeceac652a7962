#include "core/IniFile.h"

#include "core/ShiftJis.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString NameKey(const QString &name) {
    return name.toCaseFolded();
}
} // namespace

IniFile::IniFile(QString path, Encoding encoding) : path_(std::move(path)), encoding_(encoding) {}

bool IniFile::Load(QString *error) {
    sections_.clear();
    sectionIndex_.clear();
    refusedKey_.clear();
    unreadable_.clear();
    QFile file(path_);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        if (QFileInfo::exists(path_))
            unreadable_ = file.errorString();
        if (error)
            *error = file.errorString();
        return false;
    }
    LoadFromText(encoding_ == Encoding::ShiftJis ? ShiftJis::Decode(bytes)
                                                 : QString::fromUtf8(bytes));
    return true;
}

void IniFile::LoadFromText(const QString &text) {
    sections_.clear();
    sectionIndex_.clear();
    refusedKey_.clear();
    unreadable_.clear();
    Section *current = nullptr;
    for (const QString &rawLine : TextFile::SplitLines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &SectionNamed(line.mid(1, line.size() - 2));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        current->Set(key, rawLine.mid(rawLine.indexOf(u'=') + 1));
    }
}

QString IniFile::ToText() const {
    QString text;
    for (const Section &section : sections_) {
        text += u'[' + section.name + QStringLiteral("]\r\n");
        for (const auto &[key, value] : section.entries)
            text += key + u'=' + value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return text;
}

bool IniFile::Save(QString *error) const {
    if (!unreadable_.isEmpty()) {
        if (error)
            *error =
                QStringLiteral("%1 を読み込めなかったため、ほかの設定が失われないよう保存しません"
                               "でした。\n%2")
                    .arg(QDir::toNativeSeparators(path_), unreadable_);
        return false;
    }
    if (!refusedKey_.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 を保存できません。「%2」に改行が含まれています。")
                         .arg(QDir::toNativeSeparators(path_), refusedKey_);
        return false;
    }
    const QString text = ToText();
    const QByteArray bytes =
        encoding_ == Encoding::ShiftJis ? ShiftJis::Encode(text) : text.toUtf8();
    return TextFile::WriteFileAtomically(path_, bytes, error);
}

const QString *IniFile::Section::Find(const QString &key) const {
    const auto found = entryIndex.constFind(NameKey(key));
    return found == entryIndex.cend() ? nullptr : &entries[*found].second;
}

void IniFile::Section::Set(const QString &key, const QString &value) {
    const QString folded = NameKey(key);
    if (const auto found = entryIndex.constFind(folded); found != entryIndex.cend()) {
        entries[*found].second = value;
        return;
    }
    entryIndex.insert(folded, entries.size());
    entries.emplace_back(key, value);
}

IniFile::Section *IniFile::FindSection(const QString &name) {
    const auto found = sectionIndex_.constFind(NameKey(name));
    return found == sectionIndex_.cend() ? nullptr : &sections_[*found];
}

IniFile::Section &IniFile::SectionNamed(const QString &name) {
    if (Section *existing = FindSection(name))
        return *existing;
    sectionIndex_.insert(NameKey(name), sections_.size());
    sections_.push_back({name, {}, {}});
    return sections_.back();
}

const IniFile::Section *IniFile::FindSection(const QString &name) const {
    return const_cast<IniFile *>(this)->FindSection(name);
}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    if (const Section *s = FindSection(section))
        if (const QString *value = s->Find(key))
            return *value;
    return defaultValue;
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const {
    bool ok = false;
    const int value = ReadString(section, key).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList IniFile::Keys(const QString &section) const {
    QStringList keys;
    if (const Section *s = FindSection(section))
        for (const auto &entry : s->entries)
            keys << entry.first;
    return keys;
}

QStringList IniFile::Sections() const {
    QStringList names;
    for (const Section &section : sections_)
        names << section.name;
    return names;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value) {
    const auto breaks = [](const QString &text) {
        return text.contains(u'\r') || text.contains(u'\n');
    };
    if (breaks(section) || breaks(key) || breaks(value)) {
        if (refusedKey_.isEmpty())
            refusedKey_ = section + u'/' + key;
        return false;
    }
    SectionNamed(section).Set(key, value);
    return true;
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::EraseSection(const QString &section) {
    const auto found = sectionIndex_.constFind(NameKey(section));
    if (found == sectionIndex_.cend())
        return;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(*found));
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.insert(NameKey(sections_[i].name), i);
}

QString ConfigIniPath(const QString &dataPath) {
    return dataPath + QStringLiteral("Config.ini");
}
