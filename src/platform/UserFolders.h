#pragma once

#include <QString>

// The user's own folders after the XDG rules: the variable when it holds an absolute folder,
// otherwise the usual place in the home folder. A relative value is ignored, so every start
// finds the same registry and book whatever folder it was started from.
QString UserConfigFolder();
QString UserDataFolder();
