#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Japan Post's published postal code files, read straight from the ZIP archives a user downloads:
// the national area file (ken_all.csv in code page 932, a long town name split over several
// records; or utf_ken_all.csv in UTF-8, one record per town) and the large-office file
// (jigyosyo.csv, code page 932). They become the "code,address" lines of zip.dat.
struct JapanPostData {
    QStringList areaLines;
    QStringList officeLines;
    QDate published; // the newest file's date in its archive
};

// Adds the lines of every Japan Post file in the archive; false, with the reason, when the
// archive cannot be read or holds none of them.
bool ReadJapanPostArchive(const QString &path, JapanPostData &data, QString &error);
