#pragma once

#include <QString>
#include <memory>
#include <optional>

// Passwords kept out of the settings files: the desktop's keyring (the Secret Service) where one
// answers. Every call waits at most a few seconds, so a keyring that hangs cannot stop a send.
class SecretStore {
public:
    virtual ~SecretStore() = default;
    // The secret stored under `key`, empty when none is; nothing when no keyring answers.
    virtual std::optional<QString> Read(const QString &key) = 0;
    // False when no keyring took it (the caller then keeps it where it was kept before).
    virtual bool Write(const QString &key, const QString &secret) = 0;

    // The installed store; the desktop's keyring unless another was installed.
    static SecretStore &Instance();
    static void Install(std::unique_ptr<SecretStore> store);
};

SecretStore &secrets();

class KeyringSecretStore : public SecretStore {
public:
    std::optional<QString> Read(const QString &key) override;
    bool Write(const QString &key, const QString &secret) override;
};

// A session without a keyring: what the program does on a bare desktop, and in tests.
class NoKeyring : public SecretStore {
public:
    std::optional<QString> Read(const QString &) override { return std::nullopt; }
    bool Write(const QString &, const QString &) override { return false; }
};
