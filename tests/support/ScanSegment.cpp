#include "ScanSegment.h"

#include "Netns.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace vorlu::test {

namespace {

const QString Prefix = QStringLiteral("vscn");

void writeText(const QString& path, const QString& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

bool installed(const char* command)
{
    return QProcess::execute(QStringLiteral("sh"), {"-c", QStringLiteral("command -v %1 >/dev/null").arg(command)}) == 0;
}

// Answers every connection by closing it: an open port with no service behind it.
const char* const ClosingListener = "import socket,sys\n"
                                    "s=socket.socket()\n"
                                    "s.bind((sys.argv[1],5985))\n"
                                    "s.listen(16)\n"
                                    "while True:\n"
                                    "    s.accept()[0].close()\n";

} // namespace

std::vector<ScanSegment::Host> ScanSegment::lab()
{
    return {
        {10, Service::WsManHttp, ""},          {11, Service::WsManHttp, "SRV-NB11"},
        {12, Service::WsManHttp, "SRV-NB12"},  {13, Service::WsManHttp, ""},
        {20, Service::WsManHttps, ""},         {21, Service::WsManHttps, "SRV-NB21"},
        {22, Service::WsManHttps, ""},         {30, Service::NotWsMan, "SRV-NB30"},
        {31, Service::NotWsMan, ""},           {40, Service::WsManHttp, "SRV-NB40"},
        {50, Service::None, "SRV-NB50"},       {51, Service::None, ""},
        {60, Service::Dropped, ""},            {61, Service::Dropped, ""},
    };
}

std::string ScanSegment::unavailableReason()
{
    if (::geteuid() == 0) {
        for (const char* tool : {"nmbd", "nft", "openssl"})
            if (!installed(tool))
                return std::string(tool) + " is not installed (make deps)";
    }
    return namespacesUnavailable(Prefix);
}

ScanSegment::ScanSegment(const std::vector<Host>& hosts, std::chrono::milliseconds readyWithin)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for the segment");
    removeStaleNamespaces(Prefix);
    const QString base = Prefix + QString::number(::getpid());
    client_ = (base + "c").toStdString();
    try {
        const QString c = QString::fromStdString(client_);
        mustIp({"netns", "add", c});
        namespaces_.push_back(client_);
        mustIp({"-n", c, "link", "set", "lo", "up"});
        mustIp({"-n", c, "link", "add", "vbr0", "type", "bridge"});
        // A /20, so that a scan of 4,096 addresses stays inside the segment.
        mustIp({"-n", c, "addr", "add", "10.78.0.1/20", "dev", "vbr0"});
        mustIp({"-n", c, "link", "set", "vbr0", "up"});
        for (const Host& host : hosts) {
            const QString h = base + "h" + QString::number(host.octet);
            const QString port = "h" + QString::number(host.octet);
            namespaces_.push_back(h.toStdString());
            addBridgedHost(c, "vbr0", h, port, "eth0", QString::fromStdString(address(host.octet)) + "/20");
            const std::string ns = h.toStdString();
            switch (host.service) {
            case Service::WsManHttp:
            case Service::WsManHttps:
                startWsMan(ns, host);
                break;
            case Service::NotWsMan:
                startNotWsMan(ns, host);
                break;
            case Service::Dropped:
                mustIp({"netns", "exec", h, "nft", "add table inet scantest"});
                mustIp({"netns", "exec", h, "nft",
                        "add chain inet scantest in { type filter hook input priority 0 ; policy drop ; }"});
                break;
            case Service::None:
                break;
            }
            if (!host.netBiosName.empty())
                startNmbd(ns, host);
        }
        const auto until = std::chrono::steady_clock::now() + readyWithin;
        for (const Waiting& w : waiting_) {
            while (!listensOn(w.process->processId(), w.table, w.portHex)) {
                if (w.process->state() != QProcess::Running)
                    throw std::runtime_error("a host's service ended at start-up: " +
                                             w.process->readAll().toStdString());
                if (std::chrono::steady_clock::now() > until)
                    throw std::runtime_error("the hosts' services did not get ready in time");
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    } catch (...) {
        cleanUp();
        throw;
    }
}

ScanSegment::~ScanSegment() { cleanUp(); }

std::unique_ptr<QProcess> ScanSegment::start(const std::string& ns, const QString& program, const QStringList& args)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setWorkingDirectory(dir_.path());
    // `ip netns exec` becomes the program, so the process id is the service's.
    p->start(QStringLiteral("ip"), QStringList{"netns", "exec", QString::fromStdString(ns), program} + args);
    if (!p->waitForStarted(10000))
        throw std::runtime_error(program.toStdString() + " did not start: " + p->errorString().toStdString());
    return p;
}

void ScanSegment::startWsMan(const std::string& ns, const Host& host)
{
    const QString folder = dir_.filePath(QStringLiteral("wsman%1").arg(host.octet));
    QDir().mkpath(folder);
    writeText(folder + "/node.json", QStringLiteral("{\"identify\": {\"version\": \"OS: 10.0.%1 SP: 0.0 Stack: 3.0\"}}")
                                         .arg(host.octet));
    const bool https = host.service == Service::WsManHttps;
    QStringList args{QStringLiteral(VORLU_WSMAN_SERVER), "--node", folder + "/node.json", "--auth", "basic",
                     "--bind", QString::fromStdString(address(host.octet)), "--port", https ? "5986" : "5985"};
    if (https) {
        QProcess openssl;
        openssl.setWorkingDirectory(folder);
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                       "-keyout", "key.pem", "-out", "cert.pem", "-days", "2", "-subj", "/CN=scan-test"});
        if (!openssl.waitForFinished(15000) || openssl.exitCode() != 0)
            throw std::runtime_error("openssl could not make the test certificate");
        args << "--https" << folder + "/cert.pem" << folder + "/key.pem";
    }
    auto p = start(ns, QStringLiteral("/usr/bin/python3"), args);
    waiting_.push_back({p.get(), "tcp", https ? "1762" : "1761"});
    processes_.push_back(std::move(p));
}

void ScanSegment::startNotWsMan(const std::string& ns, const Host& host)
{
    auto p = start(ns, QStringLiteral("/usr/bin/python3"),
                   {"-c", ClosingListener, QString::fromStdString(address(host.octet))});
    waiting_.push_back({p.get(), "tcp", "1761"});
    processes_.push_back(std::move(p));
}

void ScanSegment::startNmbd(const std::string& ns, const Host& host)
{
    // Every folder nmbd would use is the test's own, never /run, /var or /etc.
    const QString folder = dir_.filePath(QStringLiteral("nmbd%1").arg(host.octet));
    for (const char* sub : {"lock", "state", "cache", "pid", "log", "private", "ncalrpc", "sock"})
        QDir().mkpath(folder + "/" + sub);
    QString conf = QStringLiteral("[global]\n"
                                  "netbios name = %1\n"
                                  "workgroup = SCANLAB\n"
                                  "interfaces = %2/20\n"
                                  "bind interfaces only = yes\n"
                                  "server role = standalone server\n"
                                  "disable netbios = no\n")
                       .arg(QString::fromStdString(host.netBiosName), QString::fromStdString(address(host.octet)));
    for (const char* dirOption : {"lock", "state", "cache", "pid", "private", "ncalrpc"})
        conf += QStringLiteral("%1 directory = %2/%1\n").arg(dirOption, folder);
    conf.replace(QStringLiteral("private directory"), QStringLiteral("private dir"))
        .replace(QStringLiteral("ncalrpc directory"), QStringLiteral("ncalrpc dir"));
    conf += QStringLiteral("binddns dir = %1/private\nnmbd:socket dir = %1/sock\nlog file = %1/log/nmbd.log\n")
                .arg(folder);
    writeText(folder + "/smb.conf", conf);
    auto p = start(ns, QStringLiteral("nmbd"),
                   {"-F", "--no-process-group", "-s", folder + "/smb.conf", "-l", folder + "/log", "-d0"});
    waiting_.push_back({p.get(), "udp", "0089"});
    processes_.push_back(std::move(p));
}

void ScanSegment::cleanUp()
{
    stopProcesses(processes_);
    waiting_.clear();
    for (auto it = namespaces_.rbegin(); it != namespaces_.rend(); ++it)
        removeNamespace(QString::fromStdString(*it));
    namespaces_.clear();
}

} // namespace vorlu::test
