#include "nodes/KeyringPasswords.h"
#include "support/MemorySecretStore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorlu {
namespace {

NodeRecord node(const std::string& name, const std::string& login, const std::string& password)
{
    NodeRecord r = discoveredNode(name);
    r.Login = login;
    r.Password = password;
    return r;
}

struct Folder {
    NodeTable nodes;
    Settings settings;
    Folder()
    {
        nodes.append(node("PC1", "alice", "a-secret"));
        nodes.append(node("PC2", "", ""));
        // Names repeat; each record keeps its own password.
        nodes.append(node("PC3", "bob", "first"));
        nodes.append(node("PC3", "bob", "second"));
        settings.AdminUser = "admin";
        settings.AdminPassword = "root-pw";
        settings.KeepPasswordsInKeyring = true;
    }
};

std::vector<std::string> passwords(const NodeTable& t, const Settings& s)
{
    std::vector<std::string> out;
    for (std::size_t n = 1; n <= t.count(); ++n)
        out.push_back(t.at(n).Password);
    out.push_back(s.AdminPassword);
    return out;
}

const std::vector<std::string> AllPasswords{"a-secret", "", "first", "second", "root-pw"};
const std::vector<std::string> NoPasswords(5);

TEST(KeyringPasswords, FilesHoldNoPasswordAndANewStartReadsEveryOneBack)
{
    test::MemorySecretStore store;
    Folder f;
    KeyringPasswords keeper(store, "/data");
    const auto forms = keeper.forFiles(f.nodes, f.settings);
    EXPECT_EQ(forms.problem, "");
    EXPECT_EQ(passwords(forms.nodes, forms.settings), NoPasswords);
    EXPECT_EQ(store.entries.size(), 4u);
    EXPECT_EQ(passwords(f.nodes, f.settings), AllPasswords) << "the program keeps its own copy";

    Folder next;
    next.nodes = forms.nodes;
    next.settings = forms.settings;
    KeyringPasswords later(store, "/data");
    EXPECT_EQ(later.fill(next.nodes, next.settings), "");
    EXPECT_EQ(passwords(next.nodes, next.settings), AllPasswords);

    KeyringPasswords otherFolder(store, "/elsewhere");
    Folder other;
    other.nodes = forms.nodes;
    other.settings = forms.settings;
    otherFolder.fill(other.nodes, other.settings);
    EXPECT_NE(otherFolder.fill(other.nodes, other.settings), "") << "each program folder has its own entries";
    EXPECT_EQ(passwords(other.nodes, other.settings), NoPasswords);
}

TEST(KeyringPasswords, ARefusingKeyringLeavesThePasswordsInTheFiles)
{
    test::MemorySecretStore store;
    store.refuse = true;
    Folder f;
    KeyringPasswords keeper(store, "/data");
    const auto forms = keeper.forFiles(f.nodes, f.settings);
    EXPECT_NE(forms.problem.find("locked"), std::string::npos);
    EXPECT_EQ(passwords(forms.nodes, forms.settings), AllPasswords);
    EXPECT_EQ(store.calls, 1) << "a locked keyring is asked once, not once per node";
    std::string error;
    EXPECT_FALSE(keeper.storeAll(f.nodes, f.settings, error));
    EXPECT_FALSE(error.empty());
}

TEST(KeyringPasswords, PasswordsALockedKeyringWouldNotGiveAreNeverWrittenOver)
{
    test::MemorySecretStore store;
    Folder f;
    std::string error;
    ASSERT_TRUE(KeyringPasswords(store, "/data").storeAll(f.nodes, f.settings, error));
    const auto saved = store.entries;

    Folder start;
    for (std::size_t n = 1; n <= start.nodes.count(); ++n)
        start.nodes.at(n).Password.clear();
    start.settings.AdminPassword.clear();
    store.refuse = true;
    KeyringPasswords keeper(store, "/data");
    EXPECT_NE(keeper.fill(start.nodes, start.settings), "");
    EXPECT_EQ(passwords(start.nodes, start.settings), NoPasswords);

    store.refuse = false; // unlocked later: the save at exit must not store the empty ones
    start.nodes.at(1).Password = "changed";
    const auto forms = keeper.forFiles(start.nodes, start.settings);
    EXPECT_EQ(forms.problem, "");
    auto expected = saved;
    for (auto& [key, value] : expected)
        if (value == "a-secret")
            value = "changed";
    EXPECT_EQ(store.entries, expected);
}

TEST(KeyringPasswords, AClearedPasswordEmptiesItsEntryAndTurningOffRemovesThemAll)
{
    test::MemorySecretStore store;
    Folder f;
    KeyringPasswords keeper(store, "/data");
    keeper.forFiles(f.nodes, f.settings);
    f.nodes.at(1).Password.clear();
    keeper.forFiles(f.nodes, f.settings);
    EXPECT_EQ(store.entries.size(), 4u);
    EXPECT_EQ(std::count_if(store.entries.begin(), store.entries.end(), [](const auto& e) { return e.second.empty(); }), 1)
        << "the cleared one is an empty entry, not a missing one";

    EXPECT_EQ(keeper.forget(f.nodes, f.settings), "");
    EXPECT_TRUE(store.entries.empty());
}

TEST(KeyringPasswords, AFileOfAnEarlierVersionWithoutTheLineKeepsThePasswordsInTheFiles)
{
    std::string text = formatSettings(Settings{});
    text.resize(text.rfind("0\r\n"));
    Settings old;
    old.KeepPasswordsInKeyring = true;
    parseSettings(text, old);
    EXPECT_TRUE(old.KeepPasswordsInKeyring) << "a missing line keeps the value in force";
    Settings fresh;
    parseSettings(text, fresh);
    EXPECT_FALSE(fresh.KeepPasswordsInKeyring);
}

} // namespace
} // namespace vorlu
