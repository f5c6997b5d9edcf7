#include "WsddNetwork.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUuid>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace vorlu::test {

namespace {

const QString Prefix = QStringLiteral("vwsd");

// Runs ip with these arguments; the output on failure.
bool ip(const QStringList& args, QString* output = nullptr)
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

void fail(const QStringList& args, const QString& output)
{
    throw std::runtime_error("ip " + args.join(' ').toStdString() + " failed: " + output.trimmed().toStdString());
}

void must(const QStringList& args)
{
    QString out;
    if (!ip(args, &out))
        fail(args, out);
}

// Stops every process left in a namespace and deletes it.
void removeNamespace(const QString& ns)
{
    QString pids;
    if (ip({"netns", "pids", ns}, &pids))
        for (const QString& pid : pids.split('\n', Qt::SkipEmptyParts))
            ::kill(pid.trimmed().toInt(), SIGKILL);
    ip({"netns", "del", ns});
}

// Namespaces of earlier runs whose process is gone.
void removeStaleNamespaces()
{
    QString list;
    if (!ip({"netns", "list"}, &list))
        return;
    static const QRegularExpression own(QStringLiteral("^vwsd(\\d+)[ch]\\d*$"));
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

// True when a socket of the process listens on the port (hex in /proc).
bool listens(qint64 pid, const char* table, const char* portHex)
{
    QFile f(QStringLiteral("/proc/%1/net/%2").arg(pid).arg(QLatin1String(table)));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = QByteArray(":") + portHex + " ";
    return f.readAll().contains(needle);
}

} // namespace

std::string WsddNetwork::unavailableReason()
{
    if (::geteuid() != 0)
        return "network namespaces need root; run the tests as root to include the wsdd hosts";
    if (QProcess::execute(QStringLiteral("sh"), {"-c", "command -v wsdd >/dev/null"}) != 0)
        return "Debian's wsdd is not installed (apt-get install wsdd)";
    const QString probe = Prefix + QString::number(::getpid()) + QStringLiteral("c0");
    QString out;
    if (!ip({"netns", "add", probe}, &out))
        return "this machine does not allow network namespaces (ip netns add: " + out.trimmed().toStdString() + ")";
    ip({"netns", "del", probe});
    return {};
}

WsddNetwork::WsddNetwork(const std::vector<std::string>& hostNames, std::chrono::milliseconds readyWithin)
{
    if (hostNames.size() > 200)
        throw std::runtime_error("at most 200 hosts fit the segment");
    removeStaleNamespaces();
    const QString base = Prefix + QString::number(::getpid());
    client_ = (base + "c").toStdString();
    try {
        const QString c = QString::fromStdString(client_);
        must({"netns", "add", c});
        namespaces_.push_back(client_);
        must({"-n", c, "link", "set", "lo", "up"});
        // Without snooping the bridge floods the probes to every port.
        must({"-n", c, "link", "add", ClientInterface, "type", "bridge", "mcast_snooping", "0"});
        must({"-n", c, "addr", "add", "10.77.0.1/24", "dev", ClientInterface});
        must({"-n", c, "link", "set", ClientInterface, "up"});
        must({"-n", c, "route", "add", "224.0.0.0/4", "dev", ClientInterface});
        for (std::size_t i = 0; i < hostNames.size(); ++i) {
            const QString h = base + "h" + QString::number(i);
            const QString port = "h" + QString::number(i);
            must({"netns", "add", h});
            namespaces_.push_back(h.toStdString());
            must({"-n", c, "link", "add", port, "type", "veth", "peer", "name", "wsd0", "netns", h});
            must({"-n", c, "link", "set", port, "master", ClientInterface, "up"});
            must({"-n", h, "link", "set", "lo", "up"});
            must({"-n", h, "addr", "add", QStringLiteral("10.77.0.%1/24").arg(i + 10), "dev", "wsd0"});
            must({"-n", h, "link", "set", "wsd0", "up"});
            must({"-n", h, "route", "add", "224.0.0.0/4", "dev", "wsd0"});
        }
        for (std::size_t i = 0; i < hostNames.size(); ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->setStandardOutputFile(QProcess::nullDevice());
            // Every namespace shares this machine's host name, from which
            // wsdd would derive one endpoint for all; each gets its own.
            const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            p->start(QStringLiteral("ip"), {"netns", "exec", QString::fromStdString(namespaces_[i + 1]), "wsdd", "-4",
                                            "-i", "wsd0", "-n", QString::fromStdString(hostNames[i]), "-U", uuid});
            if (!p->waitForStarted(10000))
                throw std::runtime_error("wsdd did not start: " + p->errorString().toStdString());
            hosts_.push_back(std::move(p));
        }
        const auto until = std::chrono::steady_clock::now() + readyWithin;
        while (!ready()) {
            if (std::chrono::steady_clock::now() > until)
                throw std::runtime_error("the wsdd hosts did not get ready in time");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    } catch (...) {
        cleanUp();
        throw;
    }
}

WsddNetwork::~WsddNetwork() { cleanUp(); }

bool WsddNetwork::ready() const
{
    for (const auto& p : hosts_) {
        if (p->state() != QProcess::Running || p->waitForFinished(0))
            throw std::runtime_error("a wsdd host ended at start-up");
        // `ip netns exec` becomes wsdd, so its process id is wsdd's: the
        // WS-Discovery port and the metadata port in its namespace.
        if (!listens(p->processId(), "udp", "0E76") || !listens(p->processId(), "tcp", "14ED"))
            return false;
    }
    return true;
}

void WsddNetwork::cleanUp()
{
    for (auto& p : hosts_)
        if (p->state() != QProcess::NotRunning)
            p->terminate();
    for (auto& p : hosts_) {
        if (p->state() != QProcess::NotRunning && !p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(1000);
        }
    }
    hosts_.clear();
    for (auto it = namespaces_.rbegin(); it != namespaces_.rend(); ++it)
        removeNamespace(QString::fromStdString(*it));
    namespaces_.clear();
}

WsddNetwork::ThreadInClient::~ThreadInClient()
{
    ::setns(home_, CLONE_NEWNET);
    ::close(home_);
}

std::unique_ptr<WsddNetwork::ThreadInClient> WsddNetwork::enterClient(std::string* error) const
{
    const std::string path = "/run/netns/" + client_;
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
    return std::unique_ptr<ThreadInClient>(new ThreadInClient(home));
}

bool WsddNetwork::runInClient(const std::function<void()>& work, std::string* error) const
{
    bool entered = false;
    std::string why;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        const std::unique_ptr<ThreadInClient> inside = enterClient(&why);
        if (!inside)
            return;
        entered = true;
        work();
    }));
    thread->start();
    thread->wait();
    if (!entered && error)
        *error = why;
    return entered;
}

} // namespace vorlu::test
