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

} // namespace

std::string WsddNetwork::unavailableReason()
{
    if (::geteuid() == 0 && QProcess::execute(QStringLiteral("sh"), {"-c", "command -v wsdd >/dev/null"}) != 0)
        return "Debian's wsdd is not installed (apt-get install wsdd)";
    return namespacesUnavailable(Prefix);
}

WsddNetwork::WsddNetwork(const std::vector<std::string>& hostNames, std::chrono::milliseconds readyWithin)
{
    if (hostNames.size() > 200)
        throw std::runtime_error("at most 200 hosts fit the segment");
    removeStaleNamespaces(Prefix);
    const QString base = Prefix + QString::number(::getpid());
    client_ = (base + "c").toStdString();
    try {
        const QString c = QString::fromStdString(client_);
        mustIp({"netns", "add", c});
        namespaces_.push_back(client_);
        mustIp({"-n", c, "link", "set", "lo", "up"});
        // Without snooping the bridge floods the probes to every port.
        mustIp({"-n", c, "link", "add", ClientInterface, "type", "bridge", "mcast_snooping", "0"});
        mustIp({"-n", c, "addr", "add", "10.77.0.1/24", "dev", ClientInterface});
        mustIp({"-n", c, "link", "set", ClientInterface, "up"});
        mustIp({"-n", c, "route", "add", "224.0.0.0/4", "dev", ClientInterface});
        for (std::size_t i = 0; i < hostNames.size(); ++i) {
            const QString h = base + "h" + QString::number(i);
            const QString port = "h" + QString::number(i);
            namespaces_.push_back(h.toStdString());
            addBridgedHost(c, ClientInterface, h, port, "wsd0", QStringLiteral("10.77.0.%1/24").arg(i + 10));
            mustIp({"-n", h, "route", "add", "224.0.0.0/4", "dev", "wsd0"});
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
        if (!listensOn(p->processId(), "udp", "0E76") || !listensOn(p->processId(), "tcp", "14ED"))
            return false;
    }
    return true;
}

void WsddNetwork::cleanUp()
{
    stopProcesses(hosts_);
    for (auto it = namespaces_.rbegin(); it != namespaces_.rend(); ++it)
        removeNamespace(QString::fromStdString(*it));
    namespaces_.clear();
}

bool WsddNetwork::runInClient(const std::function<void()>& work, std::string* error) const
{
    bool entered = false;
    std::string why;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        const std::unique_ptr<ThreadInNamespace> inside = enterClient(&why);
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
