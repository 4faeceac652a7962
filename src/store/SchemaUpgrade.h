#pragma once

#include <QString>

class Database;

// Adds the joint-name and insert columns to an older customer table when an installer left
// the marker "vDb.udb" asking for version "1.04" in the data folder. Failures are silent: the
// marker is removed and whatever statements ran stay applied.
void RunSchemaUpgrade(Database &database, const QString &dataPath);
