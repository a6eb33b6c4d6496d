#include "platform/libreoffice/proc_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace cubrix::lo {

std::string readProcFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(fd);
    return bytes;
}

}  // namespace cubrix::lo
