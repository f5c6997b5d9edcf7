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

// The content in a new temporary file beside target, flushed to disk; its name, or empty on failure.
std::string writeTemporary(const std::filesystem::path& target, const std::string& content, std::string* error)
{
    std::string tmpl = (target.parent_path() / ("." + target.filename().string() + TemporarySuffix)).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        fail(error, "cannot create a temporary file beside " + target.string());
        return {};
    }
    // Set explicitly, so that the result is checked whatever mkstemp did.
    if (::fchmod(fd, 0600) != 0) {
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

bool writeOnce(const std::filesystem::path& folder, std::span<const FileContent> files, std::string* error)
{
    std::vector<std::string> temporaries;
    auto removeTemporaries = [&temporaries](std::size_t from) {
        for (std::size_t k = from; k < temporaries.size(); ++k)
            ::unlink(temporaries[k].c_str());
    };
    for (const FileContent& file : files) {
        std::string tmp = writeTemporary(folder / file.name, file.content, error);
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

bool writeFilesAtomically(const std::filesystem::path& folder, std::span<const FileContent> files, std::string* error)
{
    std::string reason;
    if (writeOnce(folder, files, &reason))
        return true;
    qCWarning(lcNodes, "%s", reason.c_str());
    if (error)
        *error = std::move(reason);
    return false;
}

bool writeFileAtomically(const std::filesystem::path& target, const std::string& content, std::string* error)
{
    const FileContent file{target.filename().string(), content};
    return writeFilesAtomically(target.parent_path(), std::span(&file, 1), error);
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
