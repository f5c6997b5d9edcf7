// Against a real Secret Service: with_secret_service.sh starts one (or none)
// in a D-Bus session and a home of its own and names its state in
// VORLU_TEST_KEYRING; run elsewhere, these tests skip rather than touch the
// user's own keyring.
#include "fleet/HeadlessCheck.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "nodes/PasswordPlace.h"
#include "platform/KeychainSecretStore.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace vorlu {
namespace {

#define REQUIRE_KEYRING(state)                                                                                         \
    if (const char* k = std::getenv("VORLU_TEST_KEYRING"); !k || std::string(k) != (state))                            \
    GTEST_SKIP() << "run by tests/keyring/with_secret_service.sh " state

const std::string NodePassword = "p\xc3\xa4ss; 'word'";
const std::string AdminPassword = "root pw";

const char* const Network = R"({"localAddress": "192.168.1.10", "computers": [
    {"name": "PC1", "address": "192.168.1.1",
     "management": {"accounts": [{"user": "alice", "password": "p\u00e4ss; 'word'"}],
                    "cdromDrives": [{"Drive": "D:", "Name": "DVD", "Availability": 3, "ConfigManagerErrorCode": 0,
                                     "Status": "OK", "MediaLoaded": true}]}},
    {"name": "PC2", "address": "192.168.1.2",
     "management": {"accounts": [{"user": "admin", "password": "root pw"}]}}]})";

// A program folder whose two files hold every password, as before the setting.
struct ProgramFolder {
    QTemporaryDir dir;
    std::filesystem::path path{dir.path().toStdString()};
    NodeTable nodes;
    Settings settings;

    ProgramFolder()
    {
        NodeRecord pc1 = discoveredNode("PC1");
        pc1.IP = "192.168.1.1";
        pc1.Login = "alice";
        pc1.Password = NodePassword;
        NodeRecord pc2 = discoveredNode("PC2");
        pc2.IP = "192.168.1.2";
        nodes.append(pc1);
        nodes.append(pc2);
        settings.AdminUser = "admin";
        settings.AdminPassword = AdminPassword;
        EXPECT_TRUE(saveNodeFile(path / NodeFileName, nodes, NodeFileForm::Plain));
        EXPECT_TRUE(writeSettingsFile(path / SettingsFileName, settings));
    }
    std::string file(const char* name) const
    {
        std::string text;
        readWholeFile(path / name, text);
        return text;
    }
    // What a new start reads, passwords from the keyring included.
    void startAgain(SecretStore& store, NodeTable& n, Settings& s, std::string* problem = nullptr) const
    {
        parseNodeFile(file(NodeFileName), n);
        parseSettings(file(SettingsFileName), s);
        const std::string p = KeyringPasswords(store, path).fill(n, s);
        if (problem)
            *problem = p;
    }
    int check(SecretStore& store, std::string& out) const
    {
        std::string error;
        SimulatedManagement management(SimulatedNetwork::parse(Network, "network.json", error));
        std::ostringstream text;
        const int status = runDiagnoseAllCheck({path, std::nullopt, "test", &store}, management, text);
        out = text.str();
        return status;
    }
};

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(SecretServiceUnlocked, AnEntryIsWrittenReadAndRemoved)
{
    REQUIRE_KEYRING("unlocked");
    KeychainSecretStore store("vorlu-optical-test");
    std::string secret, error;
    ASSERT_EQ(store.write("a key\nwith lines", NodePassword, error), SecretStore::Result::Ok) << error;
    ASSERT_EQ(store.read("a key\nwith lines", secret, error), SecretStore::Result::Ok) << error;
    EXPECT_EQ(secret, NodePassword);
    EXPECT_EQ(store.remove("a key\nwith lines", error), SecretStore::Result::Ok) << error;
    EXPECT_EQ(store.read("a key\nwith lines", secret, error), SecretStore::Result::NotFound) << error;
}

TEST(SecretServiceUnlocked, PasswordsMoveToTheKeyringTheCheckReadsThemThereAndTheyMoveBack)
{
    REQUIRE_KEYRING("unlocked");
    ProgramFolder folder;
    KeychainSecretStore store;
    {
        KeyringPasswords keyring(store, folder.path);
        std::string error;
        ASSERT_TRUE(movePasswords(true, folder.path, folder.nodes, folder.settings, keyring, error)) << error;
    }
    for (const char* f : {NodeFileName, SettingsFileName}) {
        EXPECT_FALSE(holds(folder.file(f), NodePassword)) << f;
        EXPECT_FALSE(holds(folder.file(f), AdminPassword)) << f;
    }

    std::string out;
    EXPECT_EQ(folder.check(store, out), CheckOk) << out;
    EXPECT_FALSE(holds(folder.file(NodeFileName), NodePassword)) << "the check's save keeps them out of the file";

    NodeTable nodes;
    Settings settings;
    std::string problem;
    folder.startAgain(store, nodes, settings, &problem);
    ASSERT_EQ(problem, "");
    EXPECT_EQ(nodes.at(1).Password, NodePassword);
    EXPECT_EQ(settings.AdminPassword, AdminPassword);

    KeyringPasswords keyring(store, folder.path);
    std::string error;
    ASSERT_TRUE(movePasswords(false, folder.path, nodes, settings, keyring, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_TRUE(holds(folder.file(NodeFileName), NodePassword));
    EXPECT_TRUE(holds(folder.file(SettingsFileName), AdminPassword));
    NodeTable empty;
    Settings on;
    on.KeepPasswordsInKeyring = true;
    on.AdminUser = "admin";
    KeyringPasswords(store, folder.path).fill(empty, on);
    EXPECT_EQ(on.AdminPassword, "") << "the keyring's copies are gone";
}

// Passes every call to the real keyring until it has written limit entries, then refuses:
// the move stopped half-way.
class CutKeyring final : public SecretStore {
public:
    CutKeyring(SecretStore& real, int limit) : real_(real), left_(limit) {}
    Result read(const std::string& k, std::string& s, std::string& e) override { return real_.read(k, s, e); }
    Result write(const std::string& k, const std::string& s, std::string& e) override
    {
        if (left_-- <= 0) {
            e = "cut";
            return Result::Failed;
        }
        return real_.write(k, s, e);
    }
    Result remove(const std::string& k, std::string& e) override { return real_.remove(k, e); }

private:
    SecretStore& real_;
    int left_;
};

TEST(SecretServiceUnlocked, AMoveStoppedHalfWayLosesNoPassword)
{
    REQUIRE_KEYRING("unlocked");
    ProgramFolder folder;
    KeychainSecretStore real;
    const std::string nodeFile = folder.file(NodeFileName), settingsFile = folder.file(SettingsFileName);
    CutKeyring cut(real, 1);
    KeyringPasswords keyring(cut, folder.path);
    std::string error;
    EXPECT_FALSE(movePasswords(true, folder.path, folder.nodes, folder.settings, keyring, error));
    EXPECT_EQ(error, "cut");
    EXPECT_FALSE(folder.settings.KeepPasswordsInKeyring);
    EXPECT_EQ(folder.file(NodeFileName), nodeFile);
    EXPECT_EQ(folder.file(SettingsFileName), settingsFile);
    std::string out;
    EXPECT_EQ(folder.check(real, out), CheckOk) << out;
}

// Locks the session's login keyring, as a screen lock or a logout does; unlocking would
// need a prompt, and there is no display to show one on.
void lockKeyring()
{
    QProcess gdbus;
    gdbus.start("gdbus", {"call", "--session", "--dest", "org.freedesktop.secrets", "--object-path",
                          "/org/freedesktop/secrets", "--method", "org.freedesktop.Secret.Service.Lock",
                          "['/org/freedesktop/secrets/collection/login']"});
    ASSERT_TRUE(gdbus.waitForFinished(20000));
    ASSERT_EQ(gdbus.exitCode(), 0) << gdbus.readAllStandardError().toStdString();
}

TEST(SecretServiceUnlocked, ALockedKeyringGivesAClearMessageAndThePasswordsStayWhereTheyAre)
{
    REQUIRE_KEYRING("unlocked");
    ProgramFolder inKeyring, inFiles;
    KeychainSecretStore store;
    std::string error;
    {
        KeyringPasswords keyring(store, inKeyring.path);
        ASSERT_TRUE(movePasswords(true, inKeyring.path, inKeyring.nodes, inKeyring.settings, keyring, error)) << error;
    }
    lockKeyring();

    std::string out;
    EXPECT_EQ(inKeyring.check(store, out), CheckCritical);
    EXPECT_TRUE(holds(out, "\npasswords not read from the system keyring: ")) << out;

    NodeTable nodes;
    Settings settings;
    std::string problem;
    inKeyring.startAgain(store, nodes, settings, &problem);
    EXPECT_TRUE(holds(problem, "keyring")) << problem;
    const std::string before = inKeyring.file(NodeFileName);
    KeyringPasswords later(store, inKeyring.path);
    EXPECT_FALSE(movePasswords(false, inKeyring.path, nodes, settings, later, error))
        << "turning it off needs every password first";
    EXPECT_TRUE(holds(error, "keyring")) << error;
    EXPECT_TRUE(settings.KeepPasswordsInKeyring);
    EXPECT_EQ(inKeyring.file(NodeFileName), before);

    const std::string nodeFile = inFiles.file(NodeFileName), settingsFile = inFiles.file(SettingsFileName);
    KeyringPasswords refusing(store, inFiles.path);
    EXPECT_FALSE(movePasswords(true, inFiles.path, inFiles.nodes, inFiles.settings, refusing, error));
    EXPECT_EQ(inFiles.file(NodeFileName), nodeFile);
    EXPECT_EQ(inFiles.file(SettingsFileName), settingsFile);
}

TEST(SecretServiceNone, NoKeyringServiceGivesAClearMessageAndThePasswordsStay)
{
    REQUIRE_KEYRING("none");
    ProgramFolder folder;
    KeychainSecretStore store;
    const std::string nodeFile = folder.file(NodeFileName), settingsFile = folder.file(SettingsFileName);
    KeyringPasswords keyring(store, folder.path);
    std::string error;
    EXPECT_FALSE(movePasswords(true, folder.path, folder.nodes, folder.settings, keyring, error));
    EXPECT_TRUE(holds(error, "org.freedesktop.secrets")) << error;
    EXPECT_EQ(folder.file(NodeFileName), nodeFile);
    EXPECT_EQ(folder.file(SettingsFileName), settingsFile);

    // A folder whose passwords were put in a keyring that is gone now.
    folder.settings.KeepPasswordsInKeyring = true;
    folder.nodes.at(1).Password.clear();
    folder.settings.AdminPassword.clear();
    ASSERT_TRUE(saveNodeFile(folder.path / NodeFileName, folder.nodes, NodeFileForm::Plain));
    ASSERT_TRUE(writeSettingsFile(folder.path / SettingsFileName, folder.settings));
    std::string out;
    EXPECT_EQ(folder.check(store, out), CheckCritical);
    EXPECT_TRUE(holds(out, "\npasswords not read from the system keyring: ")) << out;
}

} // namespace
} // namespace vorlu
