#include "nodes/AtomicFile.h"

#include "platform/Log.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
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

bool writeOnce(const std::filesystem::path& target, const std::string& content, std::string* error)
{
    std::string tmpl = (target.parent_path() / ("." + target.filename().string() + TemporarySuffix)).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return fail(error, "cannot create a temporary file beside " + target.string());
    // Set explicitly, so that the result is checked whatever mkstemp did.
    if (::fchmod(fd, 0600) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        errno = saved;
        return fail(error, "cannot set the access of " + target.string());
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
    // The rename itself is only durable once the folder is on disk.
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return fail(error, "cannot sync the folder of " + target.string());
    const bool synced = ::fsync(dir) == 0;
    const int syncErrno = errno;
    ::close(dir);
    errno = syncErrno;
    if (!synced)
        return fail(error, "cannot sync the folder of " + target.string());
    return true;
}

// ".name.XXXXXX", the six letters and digits mkstemp put in place of the X's.
bool isTemporaryOf(const std::string& file, const std::string& target)
{
    const std::size_t letters = std::strlen(TemporarySuffix) - 1;
    if (file.size() != target.size() + letters + 2 || file[0] != '.' || file.compare(1, target.size(), target) != 0 ||
        file[target.size() + 1] != '.')
        return false;
    return std::all_of(file.end() - static_cast<std::ptrdiff_t>(letters), file.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& target, const std::string& content, std::string* error)
{
    std::string reason;
    if (writeOnce(target, content, &reason))
        return true;
    qCWarning(lcNodes, "%s", reason.c_str());
    if (error)
        *error = std::move(reason);
    return false;
}

std::size_t removeLeftTemporaries(const std::filesystem::path& folder, std::initializer_list<const char*> targets)
{
    std::size_t removed = 0;
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string file = entry.path().filename().string();
        if (!entry.is_regular_file(ec) || entry.is_symlink(ec) ||
            std::none_of(targets.begin(), targets.end(), [&](const char* t) { return isTemporaryOf(file, t); }))
            continue;
        // A save of another copy of the program may be under way this very moment.
        const auto age = now - entry.last_write_time(ec);
        if (ec || age < std::chrono::minutes(1))
            continue;
        if (std::filesystem::remove(entry.path(), ec))
            ++removed;
    }
    return removed;
}

bool readWholeFile(const std::filesystem::path& path, std::string& content, std::string* error, std::size_t maxBytes)
{
    const std::string what = "cannot read " + path.string();
    // Non-blocking so that a pipe in the file's place is refused, not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(error, what);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return fail(error, what);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = what + ": not a regular file";
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        if (error)
            *error = what + ": longer than " + std::to_string(maxBytes) + " bytes";
        return false;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return fail(error, what);
        }
        // Checked as it grows too: the file may grow while it is read.
        if (text.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            if (error)
                *error = what + ": longer than " + std::to_string(maxBytes) + " bytes";
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    content = std::move(text);
    return true;
}

} // namespace vorlu
