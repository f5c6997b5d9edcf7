#include "platform/CdromDevices.h"

#include <cerrno>
#include <climits> // CDSL_CURRENT
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vorlu {

CdromAnswer SystemCdromDevices::driveStatus(const std::string& devicePath)
{
    // O_NONBLOCK: an empty drive or an open tray must still answer.
    const int fd = ::open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {CdromAnswer::Outcome::OpenFailed, errno};
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    const int requestErrno = errno;
    ::close(fd);
    if (status < 0)
        return {CdromAnswer::Outcome::RequestFailed, requestErrno};
    return {CdromAnswer::Outcome::Answered, status};
}

} // namespace vorlu
