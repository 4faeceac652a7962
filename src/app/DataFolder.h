#pragma once

#include <QString>

// The data folder (DataPath) and table folder (DbPath) of an installation folder (DataFolder),
// with "/" for "\".
QString DataPathOf(const QString &dataFolder);
QString DbPathOf(const QString &dataFolder);
