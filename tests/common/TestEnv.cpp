#include "TestEnv.h"

#include "core/Clock.h"
#include "core/SqlText.h"
#include "platform/Installer.h"
#include "platform/Registry.h"
#include "platform/SecretStore.h"

#include <QTest>

TestEnv::TestEnv() {
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
    database_.Open(dbPath());
}

TestEnv::~TestEnv() {
    database_.Close();
    Clock::Reset();
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
