#pragma once

// The faces the address print window offers: the installed scalable Japanese faces, with
// "@" in front in vertical writing.

#include <QString>
#include <QStringList>

// Installed, smoothly scalable families that write Japanese, sorted.
QStringList InstalledJapaneseFaces();

// The list entries for a direction.
QStringList FontListEntries(const QStringList &faces, bool vertical);

// The entry to select for a wanted face: the face itself, or "@" + it, or the installed face
// that draws it (in the list's direction), or else the first entry; empty for an empty list.
QString ChooseFontEntry(const QStringList &entries, const QString &wanted);
