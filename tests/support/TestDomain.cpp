#include "support/TestDomain.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace vorlu::test {

TestDomain::TestDomain(const std::string& folder)
{
    QFile file(QString::fromStdString(folder + "/domain.env"));
    if (!file.open(QIODevice::ReadOnly)) {
        unavailable_ = "the test domain was not made (run the tests through ctest, which makes it first)";
        return;
    }
    while (!file.atEnd()) {
        const std::string line = file.readLine().trimmed().toStdString();
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values_[line.substr(0, eq)] = line.substr(eq + 1);
    }
    unavailable_ = value("UNAVAILABLE");
}

std::string TestDomain::value(const std::string& key) const
{
    const auto at = values_.find(key);
    return at == values_.end() ? std::string() : at->second;
}

std::string TestDomain::hostName(const std::string& node) const
{
    std::string name = node + "." + dnsDomain();
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

std::string TestDomain::keytab(const std::string& node) const
{
    std::string key = "NODE_" + node + "_KEYTAB";
    for (char& c : key)
        if (c == '-')
            c = '_';
    return value(key);
}

bool TestDomain::enter(std::string* error) const
{
    if (!unavailable_.empty()) {
        *error = unavailable_;
        return false;
    }
    const std::string path = "/run/netns/" + value("NAMESPACE");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::setns(fd, CLONE_NEWNET) != 0) {
        *error = "cannot enter the test domain's namespace " + path + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    ::setenv("KRB5_CONFIG", value("KRB5_CONFIG").c_str(), 1);
    // Nothing a test does may touch the user's own tickets.
    ::setenv("KRB5CCNAME", "MEMORY:vorlu-test", 1);
    return true;
}

const TestDomain& testDomain()
{
    static const TestDomain domain(VORLU_TEST_DOMAIN);
    return domain;
}

} // namespace vorlu::test
