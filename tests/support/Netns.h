#pragma once
// Network namespaces for tests: what WsddNetwork and ScanSegment build
// their segments with.
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace vorlu::test {

// Runs ip with these arguments; its output (or why it did not finish) in output.
bool runIp(const QStringList& args, QString* output = nullptr);
// The same, throwing std::runtime_error with the output when it fails.
void mustIp(const QStringList& args);

// Stops every process left in a namespace and deletes it.
void removeNamespace(const QString& ns);
// Deletes namespaces named prefix + pid + ... whose process is gone: what a
// crashed earlier run left behind.
void removeStaleNamespaces(const QString& prefix);

// Makes namespace host and wires it to the bridge of namespace client by a
// veth pair: port on the bridge's side, device on the host's, with address
// (CIDR) on it; both ends and the host's loopback up.
void addBridgedHost(const QString& client, const QString& bridge, const QString& host, const QString& port,
                    const QString& device, const QString& address);

// Stops each process (terminate, then kill) and forgets it.
void stopProcesses(std::vector<std::unique_ptr<QProcess>>& processes);

// True when a socket of the process listens on the port (hex, as /proc
// writes it) in table "tcp" or "udp".
bool listensOn(qint64 pid, const char* table, const char* portHex);

// Empty when this machine can make network namespaces, else why not.
std::string namespacesUnavailable(const QString& prefix);

// Keeps the calling thread in a namespace while it lives: the sockets it
// opens meanwhile are the namespace's, those it had stay where they were.
class ThreadInNamespace {
public:
    ~ThreadInNamespace();
    ThreadInNamespace(const ThreadInNamespace&) = delete;
    ThreadInNamespace& operator=(const ThreadInNamespace&) = delete;
    // Null, with the reason, when the thread cannot enter it.
    static std::unique_ptr<ThreadInNamespace> enter(const std::string& ns, std::string* error);

private:
    explicit ThreadInNamespace(int home) : home_(home) {}
    int home_;
};

} // namespace vorlu::test
