#include "support/WsManTestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace vorlu {

namespace {

constexpr const char* Python = "/usr/bin/python3";
constexpr int StartLimitMs = 10000;
constexpr int ToolLimitMs = 15000;

bool writeFile(const QString& path, const std::string& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && f.write(content.data(), static_cast<qint64>(content.size())) == static_cast<qint64>(content.size());
}

std::string readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

// Runs one openssl command in the folder; empty on success, else why not.
std::string runOpenssl(const QString& folder, const QStringList& args)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("openssl"), args);
    if (!p.waitForStarted(ToolLimitMs))
        return "openssl cannot be run: install the openssl package (make deps)";
    if (!p.waitForFinished(ToolLimitMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return "openssl " + args.join(' ').toStdString() + " failed: " + p.readAll().toStdString();
    return {};
}

// A certificate authority and a server certificate for 127.0.0.1 and localhost signed by it.
std::string makeCertificates(const QString& folder)
{
    const QString ec = QStringLiteral("ec");
    const QString curve = QStringLiteral("ec_paramgen_curve:prime256v1");
    if (!writeFile(folder + "/server.ext",
                   "subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n"
                   "keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n"))
        return "cannot write the certificate extensions in " + folder.toStdString();
    const QList<QStringList> steps = {
        {"req", "-x509", "-newkey", ec, "-pkeyopt", curve, "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
         "-days", "2", "-subj", "/CN=Vorlu Optical Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
         "-addext", "keyUsage=critical,keyCertSign,cRLSign"},
        {"req", "-newkey", ec, "-pkeyopt", curve, "-nodes", "-keyout", "server.key", "-out", "server.csr",
         "-subj", "/CN=localhost"},
        {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
         "-out", "server.pem", "-days", "2", "-extfile", "server.ext"},
    };
    for (const QStringList& step : steps) {
        if (std::string problem = runOpenssl(folder, step); !problem.empty())
            return problem;
    }
    return {};
}

} // namespace

struct WsManTestServer::Impl {
    QTemporaryDir dir;
    QProcess process;
    std::string error;
    int port = 0;
    std::string caFile;

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void start(const Options& options);
};

void WsManTestServer::Impl::start(const Options& options)
{
    if (!dir.isValid()) {
        error = "cannot make a temporary folder for the WS-Management test server";
        return;
    }
    if (!QFileInfo(QString::fromLatin1(Python)).isExecutable()) {
        error = "the WS-Management test server needs Debian's python3: install python3 and python3-gssapi (make deps)";
        return;
    }
    const std::string users = std::string(Domain) + ":" + User + ":" + Password + "\n";
    if (!writeFile(path("node.json"), options.nodeJson) || !writeFile(path("users"), users)) {
        error = "cannot write the test server's files in " + dir.path().toStdString();
        return;
    }
    QStringList args = {QStringLiteral(VORLU_WSMAN_SERVER), "--node", path("node.json"), "--port", "0",
                        "--auth", QString::fromStdString(options.auth), "--users", path("users")};
    if (options.https) {
        error = makeCertificates(dir.path());
        if (!error.empty())
            return;
        caFile = path("ca.pem").toStdString();
        args << "--https" << path("server.pem") << path("server.key");
    }
    if (options.allowUnencrypted)
        args << "--allow-unencrypted";
    if (!options.keytab.empty())
        args << "--keytab" << QString::fromStdString(options.keytab);
    args << "--channel-binding" << QString::fromStdString(options.channelBinding);

    process.setStandardErrorFile(path("server.log"));
    process.start(QString::fromLatin1(Python), args);
    if (!process.waitForStarted(StartLimitMs)) {
        error = "cannot run " + std::string(Python) + ": " + process.errorString().toStdString();
        return;
    }
    const QDeadlineTimer deadline(StartLimitMs);
    QByteArray out;
    while (!out.contains('\n') && !deadline.hasExpired()) {
        if (!process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        out += process.readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    bool ok = false;
    if (line.startsWith("READY "))
        port = line.mid(6).toInt(&ok);
    if (!ok || port <= 0) {
        port = 0;
        const std::string log = readFile(path("server.log"));
        error = "the WS-Management test server did not start within 10 s"
            + (log.empty() ? std::string() : ": " + log);
    }
}

std::size_t occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

WsManTestServer::WsManTestServer(Options options) : https_(options.https), impl_(std::make_unique<Impl>())
{
    impl_->start(options);
}

WsManTestServer::~WsManTestServer()
{
    QProcess& p = impl_->process;
    if (p.state() == QProcess::NotRunning)
        return;
    // The server ends when its stdin closes; SIGTERM and then SIGKILL if it does not.
    p.closeWriteChannel();
    if (p.waitForFinished(2000))
        return;
    p.terminate();
    if (!p.waitForFinished(2000)) {
        p.kill();
        p.waitForFinished(2000);
    }
}

bool WsManTestServer::started() const { return impl_->port > 0; }
std::string WsManTestServer::error() const { return impl_->error; }
int WsManTestServer::port() const { return impl_->port; }
std::string WsManTestServer::caFile() const { return impl_->caFile; }
std::string WsManTestServer::requestLog() const { return readFile(impl_->path("server.log")); }

std::size_t WsManTestServer::roundTrips() const
{
    const std::string log = requestLog();
    return occurrences(log, "CONNECTION") * (https_ ? 2 : 1) + occurrences(log, "POST ");
}

} // namespace vorlu
