#include "platform/KeychainSecretStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace vorlu {

namespace {

// Waits for the job and turns its outcome into the store's words.
SecretStore::Result finish(QKeychain::Job& job, std::string& error)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    bool done = false;
    // A job that fails at once (no keyring service) finishes inside start(), before the loop runs.
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    job.start();
    if (!done)
        loop.exec();
    switch (job.error()) {
    case QKeychain::NoError:
        return SecretStore::Result::Ok;
    case QKeychain::EntryNotFound:
        return SecretStore::Result::NotFound;
    case QKeychain::AccessDeniedByUser:
    case QKeychain::AccessDenied:
        error = "the system keyring refused access (is it locked?): " + job.errorString().toStdString();
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        error = "no system keyring (Secret Service) is running: " + job.errorString().toStdString();
        break;
    default:
        error = "the system keyring failed: " + job.errorString().toStdString();
        break;
    }
    return SecretStore::Result::Failed;
}

} // namespace

KeychainSecretStore::KeychainSecretStore(std::string service) : service_(std::move(service)) {}

SecretStore::Result KeychainSecretStore::read(const std::string& key, std::string& secret, std::string& error)
{
    QKeychain::ReadPasswordJob job(QString::fromStdString(service_));
    job.setKey(QString::fromStdString(key));
    const Result r = finish(job, error);
    if (r == Result::Ok)
        secret = job.textData().toStdString();
    return r;
}

SecretStore::Result KeychainSecretStore::write(const std::string& key, const std::string& secret, std::string& error)
{
    QKeychain::WritePasswordJob job(QString::fromStdString(service_));
    job.setKey(QString::fromStdString(key));
    job.setTextData(QString::fromStdString(secret));
    return finish(job, error);
}

SecretStore::Result KeychainSecretStore::remove(const std::string& key, std::string& error)
{
    QKeychain::DeletePasswordJob job(QString::fromStdString(service_));
    job.setKey(QString::fromStdString(key));
    return finish(job, error);
}

} // namespace vorlu
