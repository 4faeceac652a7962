#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// A settings file of sections and key=value lines. Sections and keys keep the order they were
// read or first written in; writing a key keeps every other section and key. Names compare
// without regard to letter case, as the settings files always have.
class IniFile {
public:
    enum class Encoding { ShiftJis, Utf8 };

    explicit IniFile(QString path = {}, Encoding encoding = Encoding::ShiftJis);

    // Reads the file; a missing or unreadable file leaves the settings empty and returns false.
    bool Load(QString *error = nullptr);
    // Writes the whole file through a temporary file. Refuses (and writes nothing) when a
    // section, key or value written since loading held a line break, or when the file exists
    // but could not be loaded: its other sections would be lost.
    bool Save(QString *error = nullptr) const;

    void LoadFromText(const QString &text);
    QString ToText() const;

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue = {}) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    QStringList Keys(const QString &section) const;
    QStringList Sections() const;

    // A section, key or value holding CR or LF is not taken: it would split into lines that
    // read back as other keys. Returns false then, and Save refuses.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);
    void EraseSection(const QString &section);

    const QString &path() const { return path_; }

private:
    // Names are found through case-folded indexes, so a file of many sections or keys reads in
    // time linear in its size.
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
        QHash<QString, size_t> entryIndex;
        const QString *Find(const QString &key) const;
        void Set(const QString &key, const QString &value);
    };
    Section *FindSection(const QString &name);
    const Section *FindSection(const QString &name) const;
    Section &SectionNamed(const QString &name);

    QString path_;
    Encoding encoding_;
    std::vector<Section> sections_;
    QHash<QString, size_t> sectionIndex_;
    QString refusedKey_;
    QString unreadable_;
};

// "Config.ini" in the data folder (dataPath ends in "/"): mail settings and the postal update's
// server.
QString ConfigIniPath(const QString &dataPath);
