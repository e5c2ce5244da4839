// PtyLine on POSIX pseudo-terminals.
#include "sim/PtyLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace korvex::sim {

bool PtyLine::open(std::string* error) {
    close();
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        close();
        return false;
    };
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (masterFd_ < 0) return fail("posix_openpt");
    if (::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) return fail("grantpt/unlockpt");
    char name[128] = {};
    if (::ptsname_r(masterFd_, name, sizeof name) != 0) return fail("ptsname");
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveFd_ < 0) return fail("open slave");
    termios raw{};
    if (::tcgetattr(slaveFd_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slaveFd_, TCSANOW, &raw);
    }
    slavePath_ = name;
    return true;
}

void PtyLine::close() {
    if (slaveFd_ >= 0) ::close(slaveFd_);
    if (masterFd_ >= 0) ::close(masterFd_);
    slaveFd_ = masterFd_ = -1;
}

int PtyLine::read(char* buffer, std::size_t capacity, int waitMs) {
    pollfd fd{masterFd_, POLLIN, 0};
    if (fd.fd < 0) return -1;
    if (::poll(&fd, 1, waitMs) <= 0 || !(fd.revents & POLLIN)) return 0;
    const ssize_t n = ::read(masterFd_, buffer, capacity);
    return n < 0 && (errno == EAGAIN || errno == EINTR) ? 0 : static_cast<int>(n);
}

long PtyLine::write(std::string_view bytes) {
    for (;;) {
        if (masterFd_ < 0) return -1;
        const ssize_t n = ::write(masterFd_, bytes.data(), bytes.size());
        if (n >= 0) return static_cast<long>(n);
        if (errno == EAGAIN) return 0;
        if (errno != EINTR) return -1;
    }
}

bool linkLine(const std::string& target, const std::string& link, std::string* error) {
    const std::string temporary = link + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link.c_str()) != 0) {
        if (error) *error = "cannot link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void unlinkLine(const std::string& link) {
    ::unlink(link.c_str());
}

} // namespace korvex::sim
