// A run with known passwords in every place the program takes them from: none
// may show up anywhere but the two files that are meant to keep them.
#include "e2e/ProgramFixture.h"

#include <QDirIterator>

namespace vorlu::e2e {
namespace {

const char* const NodePassword = "Node-Secret-7781";
const char* const AdminPassword = "Admin-Secret-5519";
const char* const NetworkPassword = "Net-Secret-3307";

class Secrets : public ProgramFixture {
protected:
    QByteArray network() const override
    {
        return QByteArray(R"({"localAddress": "192.168.1.10", "computers": [
            {"name": "PC-ONE", "address": "192.168.1.20",
             "management": {"accounts": [{"user": "admin", "password": ")") +
            NetworkPassword + R"("}]}}]})";
    }
};

TEST_F(Secrets, PasswordsStayInTheTwoFilesThatKeepThemAndTheFolderIsTheOwners)
{
    // The program creates its folder itself here.
    const QString folder = data("program/inner");
    env_.insert("HOME", data("home"));
    app_.setProcessEnvironment(env_);
    app_.setProcessChannelMode(QProcess::SeparateChannels);
    ASSERT_TRUE(QDir().mkpath(data("seed")));
    writeFile(data("seed/lg.ini"),
              QByteArray("PC-ONE\r\n192.168.1.20\r\nPC-ONE\r\nTrue\r\nadmin\r\n") + NodePassword + "\r\nFalse\r\n");
    writeFile(data("seed/vrsopt.ini"), QByteArray("admin\r\n") + AdminPassword +
                                           "\r\n-10\r\n0\r\n0\r\n0\r\nIP\r\n0\r\nroot\\cimv2\r\nTrue\r\n");
    app_.start(programPath(), {"--network", data("network.json"), "--data-dir", folder});
    ASSERT_TRUE(app_.waitForStarted(WindowTimeoutMs));
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    ASSERT_EQ(xdrive({"close", Title}), 0);
    expectEnded();
    EXPECT_EQ(permissions(data("program")), 0700u);
    EXPECT_EQ(permissions(folder), 0700u);

    // Second run on the seeded files: they are read, shown and written again.
    writeFile(folder + "/lg.ini", readFile(data("seed/lg.ini")));
    writeFile(folder + "/vrsopt.ini", readFile(data("seed/vrsopt.ini")));
    app_.start(programPath(), {"--network", data("network.json"), "--data-dir", folder});
    ASSERT_TRUE(app_.waitForStarted(WindowTimeoutMs));
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    ASSERT_EQ(xdrive({"close", Title}), 0);
    expectEnded();
    const QByteArray printed = app_.readAllStandardOutput() + app_.readAllStandardError();
    EXPECT_TRUE(readFile(folder + "/lg.ini").contains(NodePassword));
    EXPECT_TRUE(readFile(folder + "/vrsopt.ini").contains(AdminPassword));

    for (const char* secret : {NodePassword, AdminPassword, NetworkPassword}) {
        EXPECT_FALSE(printed.contains(secret)) << secret << " was printed";
        QDirIterator it(data(""), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = QFileInfo(path).fileName();
            if (path.startsWith(data("seed")) || name == "network.json" ||
                (QFileInfo(path).path() == folder && (name == "lg.ini" || name == "vrsopt.ini")))
                continue;
            EXPECT_FALSE(readFile(path).contains(secret)) << secret << " is in " << path.toStdString();
        }
    }
}

} // namespace
} // namespace vorlu::e2e
