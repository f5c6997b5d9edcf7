#include "Netns.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <stdexcept>
#include <unistd.h>

namespace vorlu::test {

bool runIp(const QStringList& args, QString* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ip"), args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(1000);
        if (output)
            *output = QStringLiteral("ip %1 did not finish").arg(args.join(' '));
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void mustIp(const QStringList& args)
{
    QString out;
    if (!runIp(args, &out))
        throw std::runtime_error("ip " + args.join(' ').toStdString() + " failed: " + out.trimmed().toStdString());
}

void removeNamespace(const QString& ns)
{
    QString pids;
    if (runIp({"netns", "pids", ns}, &pids))
        for (const QString& pid : pids.split('\n', Qt::SkipEmptyParts))
            ::kill(pid.trimmed().toInt(), SIGKILL);
    runIp({"netns", "del", ns});
}

void removeStaleNamespaces(const QString& prefix)
{
    QString list;
    if (!runIp({"netns", "list"}, &list))
        return;
    const QRegularExpression own("^" + QRegularExpression::escape(prefix) + "(\\d+)[ch]\\d*$");
    for (const QString& line : list.split('\n', Qt::SkipEmptyParts)) {
        const QString name = line.section(' ', 0, 0);
        const QRegularExpressionMatch m = own.match(name);
        if (!m.hasMatch())
            continue;
        const pid_t owner = m.captured(1).toInt();
        if (owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            removeNamespace(name);
    }
}

void addBridgedHost(const QString& client, const QString& bridge, const QString& host, const QString& port,
                    const QString& device, const QString& address)
{
    mustIp({"netns", "add", host});
    mustIp({"-n", client, "link", "add", port, "type", "veth", "peer", "name", device, "netns", host});
    mustIp({"-n", client, "link", "set", port, "master", bridge, "up"});
    mustIp({"-n", host, "link", "set", "lo", "up"});
    mustIp({"-n", host, "addr", "add", address, "dev", device});
    mustIp({"-n", host, "link", "set", device, "up"});
}

void stopProcesses(std::vector<std::unique_ptr<QProcess>>& processes)
{
    for (auto& p : processes)
        if (p->state() != QProcess::NotRunning)
            p->terminate();
    for (auto& p : processes) {
        if (p->state() != QProcess::NotRunning && !p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(1000);
        }
    }
    processes.clear();
}

bool listensOn(qint64 pid, const char* table, const char* portHex)
{
    QFile f(QStringLiteral("/proc/%1/net/%2").arg(pid).arg(QLatin1String(table)));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = QByteArray(":") + portHex + " ";
    return f.readAll().contains(needle);
}

std::string namespacesUnavailable(const QString& prefix)
{
    if (::geteuid() != 0)
        return "network namespaces need root; run the tests as root to include them";
    const QString probe = prefix + QString::number(::getpid()) + QStringLiteral("c0");
    QString out;
    if (!runIp({"netns", "add", probe}, &out))
        return "this machine does not allow network namespaces (ip netns add: " + out.trimmed().toStdString() + ")";
    runIp({"netns", "del", probe});
    return {};
}

ThreadInNamespace::~ThreadInNamespace()
{
    ::setns(home_, CLONE_NEWNET);
    ::close(home_);
}

std::unique_ptr<ThreadInNamespace> ThreadInNamespace::enter(const std::string& ns, std::string* error)
{
    const std::string path = "/run/netns/" + ns;
    // The namespace of a thread is its own; the process's other threads stay outside.
    const int home = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (home < 0 || fd < 0 || ::setns(fd, CLONE_NEWNET) != 0) {
        if (error)
            *error = "cannot enter " + path + ": " + std::strerror(errno);
        for (int f : {home, fd})
            if (f >= 0)
                ::close(f);
        return nullptr;
    }
    ::close(fd);
    return std::unique_ptr<ThreadInNamespace>(new ThreadInNamespace(home));
}

} // namespace vorlu::test
