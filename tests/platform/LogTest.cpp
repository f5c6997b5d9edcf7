#include "platform/Log.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorlu;

TEST(Log, GoesToTheFileWithCategoryAndLevel)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("run.log").toStdString();
    std::string error;
    ASSERT_TRUE(openLogFile(path, &error)) << error;
    qCWarning(lcNetwork, "resolving a name failed: %s", "timed out");
    qCDebug(lcNetwork, "debug is off unless QT_LOGGING_RULES turns it on");
    logToFileOnly(lcApp(), "told on stderr already");
    closeLogFile();
    qCWarning(lcNodes, "after closing: stderr only");

    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("vorlu.network warning: resolving a name failed: timed out")) << text.toStdString();
    EXPECT_TRUE(text.contains("vorlu.app critical: told on stderr already")) << text.toStdString();
    EXPECT_FALSE(text.contains("debug is off")) << text.toStdString();
    EXPECT_FALSE(text.contains("after closing")) << text.toStdString();
}

TEST(Log, AFileThatCannotBeOpenedIsRefusedWithTheReason)
{
    QTemporaryDir dir;
    std::string error;
    EXPECT_FALSE(openLogFile(dir.path().toStdString(), &error));
    EXPECT_EQ(error, "cannot open the log file " + dir.path().toStdString() + ": Is a directory");
}
