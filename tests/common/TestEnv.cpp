#include "TestEnv.h"

#include "core/Clock.h"
#include "core/SqlText.h"
#include "platform/Installer.h"
#include "platform/Registry.h"
#include "platform/SecretStore.h"

#include "store/PostgresEngine.h"

#include <QTest>
#include <QUrl>
#include <cstdio>

namespace {

SqlTarget defaultEngine = SqlTarget::Sqlite;

// The connection that creates and drops the tests' databases, for the whole test program: it
// is never closed, since books kept in statics are dropped after every static is gone.
PostgresEngine &ServerAdmin() {
    static PostgresEngine *const admin = PostgresEngine::Connect(TestServerUri()).release();
    return *admin;
}

void RunOnServer(const QString &statement) {
    ServerAdmin().Prepare(statement)->Step();
}

class ServerCasesSkipped : public QObject {
    Q_OBJECT
private slots:
    void onTheServer() {
        QSKIP("PELLOR3_TEST_SERVER is not set: the cases on the PostgreSQL engine do not run");
    }
};

} // namespace

QString TestServerUri() {
    return qEnvironmentVariable("PELLOR3_TEST_SERVER");
}

TestServerDatabase::TestServerDatabase() {
    static int made = 0;
    name_ =
        QStringLiteral("pellor3_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    RunOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name_));
    RunOnServer(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name_));
    QUrl url(TestServerUri());
    url.setPath(u'/' + name_);
    uri_ = url.toString();
}

TestServerDatabase::~TestServerDatabase() {
    try {
        RunOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
    } catch (const EngineError &error) {
        qWarning("test database %s stays: %s", qPrintable(name_), qPrintable(error.message()));
    }
}

SqlTarget TestEnv::DefaultEngine() {
    return defaultEngine;
}

int RunOnEveryEngine(QObject &test, int argc, char **argv) {
    int failures = QTest::qExec(&test, argc, argv);
    if (TestServerUri().isEmpty()) {
        ServerCasesSkipped skipped;
        return failures + QTest::qExec(&skipped, 1, argv);
    }
    std::puts("The same cases with the book on the PostgreSQL server:");
    defaultEngine = SqlTarget::Postgres;
    failures += QTest::qExec(&test, argc, argv);
    defaultEngine = SqlTarget::Sqlite;
    return failures;
}

TestEnv::TestEnv(SqlTarget engine) {
    root_ = dir_.path() + QStringLiteral("/install/");
    qputenv("PELLOR3_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toUtf8());
    qputenv("XDG_DATA_HOME", (dir_.path() + QStringLiteral("/xdg-data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/xdg-config")).toUtf8());
    qputenv("XDG_DESKTOP_DIR", (dir_.path() + QStringLiteral("/Desktop")).toUtf8());
    Clock::SetFixed(QDateTime(QDate(2024, 5, 15), QTime(10, 0)));
    auto prompt = std::make_unique<ScriptedPrompt>();
    prompt_ = prompt.get();
    Prompt::Install(std::move(prompt));
    // A test meets the desktop's keyring only where it starts one of its own.
    SecretStore::Install(std::make_unique<NoKeyring>());
    QString error;
    if (!Installer::LayOut(root_, &error))
        qFatal("test installation failed: %s", qPrintable(error));
    Registry::WriteString(Registry::ProgramKey, QStringLiteral("DataFolder"), root_);
    Registry::WriteString(Registry::ProgramKey, QStringLiteral("CommonDataPath"), root_);
    if (engine == SqlTarget::Postgres) {
        server_ = std::make_unique<TestServerDatabase>();
        database_.OpenServer(server_->uri(), true);
    } else {
        database_.Open(dbPath());
    }
}

TestEnv::~TestEnv() {
    database_.Close();
    Clock::Reset();
}

void TestEnv::OpenAsAnotherPc(Database &other) {
    if (onServer())
        other.OpenServer(database_.ServerUri());
    else
        other.Open(dbPath());
}

int TestEnv::Run(const QString &statement) {
    Query query(database_, statement);
    return query.Execute();
}

int TestEnv::AddCustomer(const QString &name, const QString &kana, bool print) {
    Query query(
        database_,
        QStringLiteral("insert into Usertbl (Kana, Name, NameTitle, Print, UseType, "
                       "PrintCtrl, Class, Class2, Sex, BirthDay, MakeDay) values(%1, %2, "
                       "'様', '%3', '0', '0', 0, 0, '不明', \"05/15/2024\", \"05/15/2024\")")
            .arg(QuoteSql(kana), QuoteSql(name))
            .arg(print ? 1 : 0));
    query.Execute();
    return static_cast<int>(query.LastInsertId());
}

QString TestEnv::Scalar(const QString &statement) {
    Query query(database_, statement);
    query.Open();
    return query.AtEnd() ? QString() : query.AsString(query.FieldNames().value(0));
}

#include "TestEnv.moc"
