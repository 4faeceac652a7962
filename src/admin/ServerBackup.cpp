#include "admin/ServerBackup.h"

#include "platform/BookServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <optional>

namespace ServerBackup {

namespace {

struct Outcome {
    bool ok = false;
    QByteArray output;
    QString error;
};

Outcome RunClient(const QString &program, QStringList arguments, const QString &connectionUri,
                  int waitMs) {
    const BookServer::ClientLogin login = BookServer::SplitPassword(connectionUri);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!login.password.isEmpty())
        environment.insert(QStringLiteral("PGPASSWORD"), login.password);
    // The program's messages are read, never its questions: it must not wait for a password.
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    process.setProcessEnvironment(environment);
    arguments << QStringLiteral("--no-password") << QStringLiteral("--dbname=") + login.uri;
    process.start(program, arguments);
    if (!process.waitForStarted(10'000))
        return {false,
                {},
                QStringLiteral("%1 を起動できませんでした。postgresql-client を"
                               "インストールして下さい。\n%2")
                    .arg(program, process.errorString())};
    if (!process.waitForFinished(waitMs)) {
        process.kill();
        process.waitForFinished(5'000);
        return {false,
                {},
                QStringLiteral("%1 が %2 分以内に終わりませんでした。")
                    .arg(program)
                    .arg(waitMs / 60'000)};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {
            false,
            {},
            QStringLiteral("%1 が失敗しました。\n%2")
                .arg(program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed())};
    return {true, process.readAllStandardOutput(), {}};
}

} // namespace

bool Dump(const QString &connectionUri, const QString &dumpPath, QString *error) {
    const QString partial = dumpPath + QStringLiteral(".part");
    const Outcome outcome =
        RunClient(QStringLiteral("pg_dump"),
                  {QStringLiteral("--format=custom"), QStringLiteral("--file=") + partial},
                  connectionUri, DumpWaitMs);
    if (!outcome.ok || !IsBookDump(partial)) {
        QFile::remove(partial);
        *error = outcome.ok ? QStringLiteral("バックアップのファイルに顧客データがありません。")
                            : outcome.error;
        return false;
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(partial, dumpPath)) {
        QFile::remove(partial);
        *error =
            QStringLiteral("%1 を書き込めませんでした。").arg(QDir::toNativeSeparators(dumpPath));
        return false;
    }
    return true;
}

namespace {

// What pg_restore writes reading the dump alone, without a server; nothing when it failed.
std::optional<QByteArray> ReadDump(const QString &dumpPath, const QStringList &arguments) {
    if (!QFile::exists(dumpPath))
        return std::nullopt;
    QProcess process;
    process.start(QStringLiteral("pg_restore"), arguments + QStringList{dumpPath});
    if (!process.waitForStarted(10'000))
        return std::nullopt;
    if (!process.waitForFinished(ListWaitMs)) {
        process.kill();
        process.waitForFinished(5'000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace

bool IsBookDump(const QString &dumpPath) {
    const std::optional<QByteArray> list = ReadDump(dumpPath, {QStringLiteral("--list")});
    return list && list->contains(" TABLE public usertbl ");
}

int DumpCustomers(const QString &dumpPath) {
    const std::optional<QByteArray> script =
        ReadDump(dumpPath, {QStringLiteral("--data-only"), QStringLiteral("--table=usertbl"),
                            QStringLiteral("--file=-")});
    if (!script)
        return -1;
    // The rows stand one a line between "COPY … FROM stdin;" and "\."; line breaks inside a
    // field are written as \n.
    int customers = -1;
    for (const QByteArray &line : script->split('\n')) {
        if (customers < 0) {
            if (line.startsWith("COPY public.usertbl "))
                customers = 0;
        } else if (line == "\\.") {
            return customers;
        } else {
            ++customers;
        }
    }
    return -1;
}

bool Restore(const QString &connectionUri, const QString &dumpPath, QString *error) {
    const Outcome outcome =
        RunClient(QStringLiteral("pg_restore"),
                  {QStringLiteral("--single-transaction"), QStringLiteral("--clean"),
                   QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                   QStringLiteral("--exit-on-error"), dumpPath},
                  connectionUri, DumpWaitMs);
    if (!outcome.ok)
        *error = outcome.error;
    return outcome.ok;
}

} // namespace ServerBackup
