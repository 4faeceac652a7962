#pragma once

#include "../common/TestContext.h"
#include "exchange/FormImport.h"
#include "widgets/ImageButton.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

// The application context over an installation of its own, with the test's files beside it.
class ExchangeTestContext : public OwningTestContext {
public:
    // A file in the test's folder holding `bytes`.
    QString WriteFile(const QString &name, const QByteArray &bytes) {
        const QString path = env.root() + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    QByteArray ReadFile(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// Runs the import window over a file with the given field captions assigned to the file's
// columns (an empty caption leaves a column unassigned) and stores the rows.
inline bool Import(ExchangeTestContext &context, TFormImport &window, const QByteArray &bytes,
                   const QStringList &assignments) {
    if (!window.LoadFile(context.WriteFile(QStringLiteral("in.csv"), bytes)))
        return false;
    auto *list = window.findChild<QListWidget *>(QStringLiteral("ListBoxContents"));
    auto *add = window.findChild<ImageButton *>(QStringLiteral("SBAddContent"));
    for (int row = 0; row < assignments.size(); ++row) {
        if (assignments[row].isEmpty())
            continue;
        window.SGMainSelectCell(row);
        list->setCurrentItem(list->findItems(assignments[row], Qt::MatchExactly).value(0));
        QTest::keyClick(add, Qt::Key_Space);
    }
    window.BtnImportClick();
    if (window.result() != QDialog::Accepted)
        return false;
    window.ImportAccepted();
    return true;
}
