#pragma once
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace vorlu::test {

// A network segment for address scans: a client namespace whose bridge holds
// 10.78.0.1/20, and one namespace per host at 10.78.0.<octet>, wired to the
// bridge. Each host can run the project's WS-Management server (HTTP 5985,
// HTTPS 5986), a listener that is no management service, Samba's nmbd
// answering NetBIOS under a name, or drop every packet. Every file, socket
// and pid of what it starts stays in its own temporary folder; destroying it
// stops each process by its id and removes the namespaces.
class ScanSegment {
public:
    static constexpr const char* Subnet = "10.78.0.0/24";

    enum class Service {
        None,      // nothing listens: connections are refused at once
        WsManHttp, // the WS-Management test server on 5985
        WsManHttps, // the same on 5986 over TLS
        NotWsMan,  // 5985 open, but what answers is no management service
        Dropped,   // a firewall rule in the namespace drops every packet
    };
    struct Host {
        int octet;
        Service service;
        std::string netBiosName; // nmbd answers under it when not empty
    };

    // Ten computers answering on a management port among the 254 addresses
    // of Subnet (.10-.13, .40 HTTP; .20-.22 HTTPS only; .30, .31 no
    // management service behind 5985), some named by nmbd; two hosts that
    // refuse (.50 answering NetBIOS all the same) and two that drop every
    // packet (.60, .61); every other address has no host at all.
    static std::vector<Host> lab();
    // A hosts file for the lab, standing in for a reverse zone: it names .10,
    // .11 (which nmbd names too: reverse names come first), .20 and .50.
    static constexpr const char* LabNames = "10.78.0.10 srv-files.lab.example srv-files\n"
                                            "10.78.0.11 srv-print.lab.example\n"
                                            "10.78.0.20 srv-tls.lab.example\n"
                                            "10.78.0.50 not-a-node.lab.example\n";

    // Empty when this machine can build the segment, else why not.
    static std::string unavailableReason();

    // Throws std::runtime_error (after cleaning up) when it cannot be built.
    explicit ScanSegment(const std::vector<Host>& hosts,
                         std::chrono::milliseconds readyWithin = std::chrono::seconds(30));
    ~ScanSegment();
    ScanSegment(const ScanSegment&) = delete;
    ScanSegment& operator=(const ScanSegment&) = delete;

    const std::string& clientNamespace() const { return client_; }
    static std::string address(int octet) { return "10.78.0." + std::to_string(octet); }

private:
    void startWsMan(const std::string& ns, const Host& host);
    void startNotWsMan(const std::string& ns, const Host& host);
    void startNmbd(const std::string& ns, const Host& host);
    std::unique_ptr<QProcess> start(const std::string& ns, const QString& program, const QStringList& args);
    void cleanUp();

    QTemporaryDir dir_;
    std::string client_;
    std::vector<std::string> namespaces_;
    struct Waiting {
        QProcess* process;
        const char* table;
        const char* portHex;
    };
    std::vector<Waiting> waiting_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace vorlu::test
