#include "nodes/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlu {

namespace {

bool fail(std::string* error, const std::string& what)
{
    if (error)
        *error = what + ": " + std::strerror(errno);
    return false;
}

bool writeAll(int fd, const std::string& content)
{
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& target, const std::string& content, FileAccess access,
                         std::string* error)
{
    std::string tmpl = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return fail(error, "cannot create a temporary file beside " + target.string());
    // mkstemp creates the file 0600; widen it only for files that hold no secrets.
    if (access == FileAccess::Default) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const bool written = writeAll(fd, content) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        errno = written ? errno : savedErrno;
        ::unlink(tmpl.c_str());
        return fail(error, "cannot write " + target.string());
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        const bool ok = fail(error, "cannot replace " + target.string());
        ::unlink(tmpl.c_str());
        return ok;
    }
    return true;
}

bool readWholeFile(const std::filesystem::path& path, std::string& content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    content = buffer.str();
    return true;
}

} // namespace vorlu
