#include "platform/libreoffice/office_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

#include "platform/libreoffice/proc_file.h"

extern char** environ;

namespace cubrix::lo {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr auto kKillWait = std::chrono::seconds(3);

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Pointers into `strings`, null-terminated, built before fork: the child of
// a threaded process may not allocate.
std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (const auto& s : strings) p.push_back(const_cast<char*>(s.c_str()));
    p.push_back(nullptr);
    return p;
}

// Whether a process of group `pgid`, other than a zombie, still exists. The
// members orphaned by a kill are reparented to a pid 1 that may never reap
// them, so kill(-pgid, 0) alone would report them alive for ever.
bool groupHasLiveMember(pid_t pgid) {
    if (::kill(-pgid, 0) != 0 && errno == ESRCH) return false;
    DIR* proc = opendir("/proc");
    if (!proc) return true;
    bool alive = false;
    while (dirent* e = readdir(proc)) {
        if (e->d_name[0] < '1' || e->d_name[0] > '9') continue;
        const std::string line = readProcFile(std::string("/proc/") + e->d_name + "/stat");
        if (line.empty()) continue;
        // "pid (comm) state ppid pgrp ...": comm may hold spaces and parentheses.
        const auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 1));
        char state = 0;
        long ppid = 0, pgrp = 0;
        rest >> state >> ppid >> pgrp;
        if (pgrp == pgid && state != 'Z' && state != 'X') {
            alive = true;
            break;
        }
    }
    closedir(proc);
    return alive;
}

}  // namespace

std::string findProgram(const std::string& program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty()) continue;
        const std::string candidate = dir + "/" + program;
        if (isExecutableFile(candidate)) return candidate;
    }
    return {};
}

std::vector<std::string> childEnvironment(const std::vector<std::string>& overrides,
                                          const std::vector<std::string>& removed) {
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    auto dropped = [&](const std::string& name) {
        for (const auto& r : removed)
            if (r == name) return true;
        for (const auto& o : overrides)
            if (nameOf(o) == name) return true;
        return false;
    };
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e)
        if (!dropped(nameOf(*e))) env.emplace_back(*e);
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

ProcessGroup::~ProcessGroup() {
    if (leader_ != 0) kill();
}

int ProcessGroup::start(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    auto args = pointers(argv);
    auto envp = pointers(env);
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&files);
    posix_spawnattr_init(&attr);
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &files, &attr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return rc;
    leader_ = pid;
    reaped_ = false;
    exitCode_ = -1;
    return 0;
}

bool ProcessGroup::leaderAlive() {
    if (leader_ == 0 || reaped_) return false;
    int status = 0;
    const pid_t r = waitpid(leader_, &status, WNOHANG);
    if (r == leader_ && WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
    if (r == leader_ || (r < 0 && errno == ECHILD)) reaped_ = true;
    return !reaped_;
}

// A leader of ours counts until it is reaped: its main thread shows as a
// zombie while its other threads still end, and a look then would let it go
// unreaped for good.
bool ProcessGroup::anyAlive() {
    if (leader_ == 0) return false;
    return leaderAlive() || groupHasLiveMember(leader_);
}

void ProcessGroup::signal(int sig) const {
    if (leader_ != 0) ::kill(-leader_, sig);
}

bool ProcessGroup::waitGone(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (anyAlive()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    leader_ = 0;
    return true;
}

void ProcessGroup::adopt(pid_t leader) {
    leader_ = leader;
    reaped_ = true;  // not ours to wait for
}

void ProcessGroup::kill() {
    if (leader_ == 0) return;
    signal(SIGKILL);
    signal(SIGCONT);  // a stopped member takes SIGKILL anyway; this is for tidiness
    waitGone(std::chrono::duration_cast<std::chrono::milliseconds>(kKillWait));
    leader_ = 0;
}

int launchDetached(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   pid_t* launched) {
    auto args = pointers(argv);
    auto envp = pointers(env);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return errno;
    int idPipe[2];  // the middle process tells the launched one's id
    if (pipe2(idPipe, O_CLOEXEC) != 0) {
        const int err = errno;
        close(report[0]);
        close(report[1]);
        return err;
    }
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t middle = fork();
    if (middle < 0) {
        const int err = errno;
        close(report[0]);
        close(report[1]);
        close(idPipe[0]);
        close(idPipe[1]);
        if (devNull >= 0) close(devNull);
        return err;
    }
    if (middle == 0) {
        // Only async-signal-safe calls from here on.
        close(report[0]);
        close(idPipe[0]);
        const pid_t child = fork();
        if (child < 0) {  // report it: the caller must not take this for a launch
            const int err = errno;
            (void)!write(report[1], &err, sizeof err);
            _exit(127);
        }
        if (child != 0) {  // the launched program is reparented away from us
            (void)!write(idPipe[1], &child, sizeof child);
            _exit(0);
        }
        close(idPipe[1]);
        setsid();
        if (devNull >= 0)
            for (int fd = 0; fd <= 2; ++fd) dup2(devNull, fd);
        syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC);
        execve(args[0], args.data(), envp.data());
        const int err = errno;
        (void)!write(report[1], &err, sizeof err);
        _exit(127);
    }
    close(report[1]);
    close(idPipe[1]);
    if (devNull >= 0) close(devNull);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    pid_t child = 0;
    while (read(idPipe[0], &child, sizeof child) < 0 && errno == EINTR) {
    }
    close(idPipe[0]);
    // The report pipe closes on a successful exec; an errno arrives otherwise.
    int err = 0;
    ssize_t n;
    while ((n = read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (n == static_cast<ssize_t>(sizeof err)) return err;
    if (launched) *launched = child;
    return 0;
}

}  // namespace cubrix::lo
