#include "nodes/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <vector>

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

namespace {

// The process's umask, read without changing it: setting it to learn it would
// let a folder that another thread creates meanwhile be writable by all.
mode_t processUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    return 022; // kernels before 4.7 do not say; the usual umask then
}

// The content in a new temporary file beside target, flushed to disk; its name, or empty on failure.
std::string writeTemporary(const std::filesystem::path& target, const std::string& content, FileAccess access,
                           std::string* error)
{
    std::string tmpl = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        fail(error, "cannot create a temporary file beside " + target.string());
        return {};
    }
    // mkstemp creates the file 0600; widen it only for files that hold no secrets.
    // Owner-only is set explicitly too, so that the result is checked whatever mkstemp did.
    mode_t mode = 0600;
    if (access == FileAccess::Default)
        mode = 0666 & ~processUmask();
    if (::fchmod(fd, mode) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        errno = saved;
        fail(error, "cannot set the access of " + target.string());
        return {};
    }
    const bool written = writeAll(fd, content) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        errno = written ? errno : savedErrno;
        ::unlink(tmpl.c_str());
        fail(error, "cannot write " + target.string());
        return {};
    }
    return tmpl;
}

} // namespace

bool writeFilesAtomically(const std::filesystem::path& folder, std::span<const FileContent> files, FileAccess access,
                          std::string* error)
{
    std::vector<std::string> temporaries;
    auto removeTemporaries = [&temporaries](std::size_t from) {
        for (std::size_t k = from; k < temporaries.size(); ++k)
            ::unlink(temporaries[k].c_str());
    };
    for (const FileContent& file : files) {
        std::string tmp = writeTemporary(folder / file.name, file.content, access, error);
        if (tmp.empty()) {
            const int saved = errno;
            removeTemporaries(0);
            errno = saved;
            return false;
        }
        temporaries.push_back(std::move(tmp));
    }
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::filesystem::path target = folder / files[k].name;
        if (::rename(temporaries[k].c_str(), target.c_str()) != 0) {
            const bool ok = fail(error, "cannot replace " + target.string());
            removeTemporaries(k);
            return ok;
        }
    }
    // The renames themselves are only durable once the folder is on disk.
    const std::filesystem::path synced = folder.empty() ? "." : folder;
    const std::string what = "cannot sync the folder " + synced.string();
    const int dir = ::open(synced.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return fail(error, what);
    const bool ok = ::fsync(dir) == 0;
    const int syncErrno = errno;
    ::close(dir);
    errno = syncErrno;
    return ok || fail(error, what);
}

bool writeFileAtomically(const std::filesystem::path& target, const std::string& content, FileAccess access,
                         std::string* error)
{
    const FileContent file{target.filename().string(), content};
    return writeFilesAtomically(target.parent_path(), std::span(&file, 1), access, error);
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
