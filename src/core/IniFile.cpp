#include "core/IniFile.h"

#include "core/ShiftJis.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

IniFile::IniFile(QString path, Encoding encoding) : path_(std::move(path)), encoding_(encoding) {}

bool IniFile::Load(QString *error) {
    sections_.clear();
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
    refusedKey_.clear();
    unreadable_.clear();
    Section *current = nullptr;
    for (const QString &rawLine : TextFile::SplitLines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2);
            current = FindSection(name);
            if (!current) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = rawLine.mid(rawLine.indexOf(u'=') + 1);
        bool replaced = false;
        for (auto &entry : current->entries) {
            if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
                entry.second = value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            current->entries.emplace_back(key, value);
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

IniFile::Section *IniFile::FindSection(const QString &name) {
    for (Section &section : sections_)
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    return nullptr;
}

const IniFile::Section *IniFile::FindSection(const QString &name) const {
    return const_cast<IniFile *>(this)->FindSection(name);
}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    if (const Section *s = FindSection(section))
        for (const auto &[k, v] : s->entries)
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return v;
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
    Section *s = FindSection(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (auto &entry : s->entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return true;
        }
    }
    s->entries.emplace_back(key, value);
    return true;
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::EraseSection(const QString &section) {
    std::erase_if(sections_, [&](const Section &s) {
        return s.name.compare(section, Qt::CaseInsensitive) == 0;
    });
}

QString ConfigIniPath(const QString &dataPath) {
    return dataPath + QStringLiteral("Config.ini");
}
