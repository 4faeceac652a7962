#include "platform/SecretStore.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("pellor3");
constexpr int KeyringWaitMs = 5'000;

std::unique_ptr<SecretStore> installed;

struct Outcome {
    bool finished = false;
    QKeychain::Error error = QKeychain::OtherError;
    QString text;
};

// Runs a job to its end or to the time limit. The job deletes itself when it ends; one that
// outlives the limit lost its connection with the loop and writes into an outcome nobody reads.
std::shared_ptr<Outcome> Run(QKeychain::Job *job) {
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [outcome, &loop](QKeychain::Job *done) {
        outcome->finished = true;
        outcome->error = done->error();
        if (auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(done))
            outcome->text = read->textData();
        loop.quit();
    });
    QTimer::singleShot(KeyringWaitMs, &loop, &QEventLoop::quit);
    job->setAutoDelete(true);
    job->start();
    if (!outcome->finished)
        loop.exec();
    return outcome;
}

} // namespace

SecretStore &SecretStore::Instance() {
    if (!installed)
        installed = std::make_unique<KeyringSecretStore>();
    return *installed;
}

void SecretStore::Install(std::unique_ptr<SecretStore> store) {
    installed = std::move(store);
}

SecretStore &secrets() {
    return SecretStore::Instance();
}

std::optional<QString> KeyringSecretStore::Read(const QString &key) {
    auto *job = new QKeychain::ReadPasswordJob(Service);
    job->setKey(key);
    const auto outcome = Run(job);
    if (!outcome->finished)
        return std::nullopt;
    if (outcome->error == QKeychain::EntryNotFound)
        return QString();
    if (outcome->error != QKeychain::NoError)
        return std::nullopt;
    return outcome->text;
}

bool KeyringSecretStore::Write(const QString &key, const QString &secret) {
    auto *job = new QKeychain::WritePasswordJob(Service);
    job->setKey(key);
    job->setTextData(secret);
    const auto outcome = Run(job);
    return outcome->finished && outcome->error == QKeychain::NoError;
}
