#pragma once

#include <QString>

// The manual page (man(7) source) and the bash completion script of the command line, made from
// the commands --help describes.
QString ManualPage(const QString &version);
QString BashCompletion();
