// Child processes of the backend: the hidden office in a session (and so a
// process group) of its own, which is ended as a whole, and the detached
// launch of the visible Calc window, which is never waited for.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace cubrix::lo {

// The full path of `program` (a path, or a name looked up in PATH) if it is
// an executable file; empty otherwise.
std::string findProgram(const std::string& program);

// The environment of this process with `overrides` ("NAME=value") set and the
// names in `removed` taken out.
std::vector<std::string> childEnvironment(const std::vector<std::string>& overrides,
                                          const std::vector<std::string>& removed);

// A started program that leads its own process group. The soffice script
// starts oosplash, which starts soffice.bin: only the group reaches them all.
class ProcessGroup {
public:
    ProcessGroup() = default;
    ProcessGroup(const ProcessGroup&) = delete;
    ProcessGroup& operator=(const ProcessGroup&) = delete;
    ~ProcessGroup();  // kills what is left

    // Starts argv[0] (a full path) with no terminal and no inherited files.
    // Returns an errno value, 0 when started.
    int start(const std::vector<std::string>& argv, const std::vector<std::string>& env);

    pid_t id() const { return leader_; }  // the group id too; 0 when none
    bool leaderAlive();                   // reaps the leader once it ended
    // The reaped leader's exit code; -1 while it runs or when it was killed.
    int exitCode() const { return exitCode_; }
    bool anyAlive();  // a member that is not a zombie
    void signal(int sig) const;
    // Waits up to `limit` for every member to end; true when they did.
    bool waitGone(std::chrono::milliseconds limit);
    // SIGKILL to the group, then waits a little for it to go.
    void kill();
    // Takes on a group that leads itself but is no child of ours (a detached
    // launch), or lets the group go without ending it.
    void adopt(pid_t leader);
    void forget() { leader_ = 0; }

private:
    std::atomic<pid_t> leader_ = 0;  // read by the watchdog's thread too
    bool reaped_ = false;
    int exitCode_ = -1;
};

// Runs argv detached from this process (own session, reparented away by a
// double fork). Returns an errno value when argv[0] cannot be executed; else
// 0, with the launched program's id (its session's and group's too) in
// `launched` when given.
int launchDetached(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   pid_t* launched = nullptr);

}  // namespace cubrix::lo
