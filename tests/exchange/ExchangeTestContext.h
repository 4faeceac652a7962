#pragma once

#include "../common/TestEnv.h"
#include "exchange/FormImport.h"
#include "platform/AppContext.h"
#include "widgets/ImageButton.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

// The application context over a test installation: the listed customers are set by the test,
// list rebuilds are counted.
class ExchangeTestContext : public AppContext {
public:
    TestEnv env;
    std::vector<int> listed;
    int refreshes = 0;

    Database &GetDatabase() override { return env.db(); }
    Query &SharedUserQuery() override { return user_; }
    Query &SharedHistoryQuery() override { return history_; }
    Query &SharedClassQuery() override { return classes_; }
    QString GetDataPath() const override { return env.dataPath(); }
    QString GetDbPath() const override { return env.dbPath(); }
    std::vector<int> ListedUserIds() const override { return listed; }
    ListSelection CurrentSelection() const override { return {}; }
    void RefreshList() override { ++refreshes; }
    Prompt &GetPrompt() override { return env.prompt(); }

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

private:
    Query user_{env.db()};
    Query history_{env.db()};
    Query classes_{env.db()};
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
