#pragma once

#include <QFont>
#include <QString>

// Turns the face names the program stores (names of the original system's fonts, with "@" for
// their vertical variants) into fonts installed on this machine.
namespace FontResolver {

// True for the vertical variant of a face ("@" in front of the family name).
bool IsVerticalFace(const QString &faceName);

// The installed family that draws the face: the face itself when installed, otherwise the
// nearest installed Japanese face (proportional Gothic -> IPAPGothic, fixed Gothic -> IPAGothic,
// Mincho -> IPAMincho / IPAPMincho, anything else -> a proportional Gothic).
QString FamilyFor(const QString &faceName);

// A font whose cell (em square) is `height` device pixels high. Characters the family lacks are
// drawn by Qt's font fallback.
QFont MakeFont(const QString &faceName, int height, bool bold, bool italic, bool underline);

} // namespace FontResolver
