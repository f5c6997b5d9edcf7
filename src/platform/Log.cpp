#include "platform/Log.h"

#include <QDateTime>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlu {

// Debug messages are off until QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcPlatform, "vorlu.platform", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNodes, "vorlu.nodes", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNetwork, "vorlu.network", QtInfoMsg)
Q_LOGGING_CATEGORY(lcScene, "vorlu.scene", QtInfoMsg)
Q_LOGGING_CATEGORY(lcModel, "vorlu.model", QtInfoMsg)
Q_LOGGING_CATEGORY(lcApp, "vorlu.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcInventory, "vorlu.inventory", QtInfoMsg)

namespace {

// Messages come from worker threads too.
std::mutex logMutex;
std::FILE* logFile = nullptr;
QtMessageHandler previousHandler = nullptr;

const char* levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return "debug";
    case QtInfoMsg: return "info";
    case QtWarningMsg: return "warning";
    case QtCriticalMsg: return "critical";
    case QtFatalMsg: return "fatal";
    }
    return "message";
}

void writeToFile(QtMsgType type, const char* category, const QString& message)
{
    std::lock_guard lock(logMutex);
    if (!logFile)
        return;
    const QByteArray line = QStringLiteral("%1 %2 %3: %4\n")
                                .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs),
                                     QString::fromLatin1(category ? category : "default"),
                                     QString::fromLatin1(levelName(type)), message)
                                .toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), logFile);
    std::fflush(logFile);
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    writeToFile(type, context.category, message);
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

bool openLogFile(const std::string& path, std::string* error)
{
    auto refuse = [&](const std::string& reason) {
        if (error)
            *error = "cannot open the log file " + path + ": " + reason;
        return false;
    };
    // Non-blocking so that a FIFO is refused, not waited on; the log names nodes and their refusals, so it is
    // created for its owner alone.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return refuse(errno == ENXIO ? "it is not a regular file (a FIFO or a socket)" : std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse("it is not a regular file (a device, a FIFO or a socket)");
    }
    ::fcntl(fd, F_SETFL, O_APPEND); // blocking again for the writes
    std::FILE* file = ::fdopen(fd, "a");
    if (!file) {
        const std::string reason = std::strerror(errno);
        ::close(fd);
        return refuse(reason);
    }
    std::lock_guard lock(logMutex);
    if (logFile)
        std::fclose(logFile);
    logFile = file;
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(handler);
    return true;
}

void logToFileOnly(const QLoggingCategory& category, const std::string& message)
{
    writeToFile(QtCriticalMsg, category.categoryName(), QString::fromStdString(message));
}

void closeLogFile()
{
    std::lock_guard lock(logMutex);
    if (logFile)
        std::fclose(logFile);
    logFile = nullptr;
}

} // namespace vorlu
