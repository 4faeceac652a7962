// Precompiled for the test programs.
#include "widgets.h"
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
