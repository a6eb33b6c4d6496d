// Paths the office must find, and lock files it must tell apart.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "office_test_support.h"
#include "platform/libreoffice/file_url.h"
#include "platform/libreoffice/lock_file.h"
#include "platform/libreoffice/running_offices.h"

namespace cubrix::lo {
namespace {

TEST(FileUrl, EncodesWhatAUrlWouldMisreadAndRoundTrips) {
    struct Case {
        const char* path;
        const char* url;
        const char* back;  // the path the URL reads as
    };
    const Case cases[] = {
        {"/home/op/Tarnel账单.xls", "file:///home/op/Tarnel%E8%B4%A6%E5%8D%95.xls",
         "/home/op/Tarnel账单.xls"},
        {"/home/op/my bills/a#1.xls", "file:///home/op/my%20bills/a%231.xls",
         "/home/op/my bills/a#1.xls"},
        {"/home/op/100%/a?.xls", "file:///home/op/100%25/a%3F.xls", "/home/op/100%/a?.xls"},
        {"/home/op/./x/../b.xls", "file:///home/op/b.xls", "/home/op/b.xls"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileUrl(c.path), c.url);
        EXPECT_EQ(pathOfFileUrl(c.url), c.back);
    }
    EXPECT_EQ(pathOfFileUrl("file:///a/%E8%B4%A6"), "/a/账");
    EXPECT_EQ(pathOfFileUrl("file://host/a"), "");  // not a local file
    EXPECT_EQ(pathOfFileUrl("http:///a"), "");
}

TEST(FileUrl, SameFolderWhateverTheSpelling) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"/cache/p", "/cache/p/", true},
        {"/cache/./p", "/cache/p", true},
        {"/cache/x/../p", "/cache/p", true},
        {"/cache/p", "/cache/p-77", false},
        {"/cache/p", "/cache", false},
        {"/cache/p", "", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sameFolder(c.a, c.b), c.same) << c.a << " | " << c.b;
        EXPECT_EQ(sameFolder(c.b, c.a), c.same) << c.b << " | " << c.a;
    }
}

TEST(LockFile, OnlyALockNamingOurProfileIsRemoved) {
    struct Case {
        const char* text;
        bool removed;
    };
    const Case cases[] = {
        {",cubrix,pc,01.01.2024 09:00,file:///cache/office-profile;", true},
        {",cubrix,pc,01.01.2024 09:00,file:///cache/office-profile/;", true},
        {"Wang\\, Li,wl,pc,01.01.2024 09:00,file:///cache/office-profile;", true},
        {",li,pc,01.01.2024 09:00,file:///home/li/.config/libreoffice/4;", false},
        {",cubrix,pc,01.01.2024 09:00,file:///cache/office-profile-77;", false},
        {",cubrix,pc,01.01.2024 09:00,file:///cache/office-profile", false},  // cut short
        {"", false},
    };
    for (const auto& c : cases) {
        testing::ScratchFolder folder;
        const std::string workbook = folder.path() + "/Tarnel账单.xls";
        const std::string lock = lockFilePath(workbook);
        EXPECT_EQ(lock, folder.path() + "/.~lock.Tarnel账单.xls#");
        std::ofstream(lock) << c.text;
        EXPECT_EQ(removeLockOf(workbook, "/cache/office-profile"), c.removed) << c.text;
        EXPECT_EQ(std::ifstream(lock).good(), !c.removed) << c.text;
    }
}

TEST(LockFile, ALockLeftByACrashedOfficeOnThisMachineIsRemoved) {
    struct Case {
        const char* text;
        bool profileInUse;
        bool removed;
    };
    const Case cases[] = {
        {",op,vm,01.01.2024 09:00,file:///home/op/.config/libreoffice/4;", false, true},
        {",op,vm,01.01.2024 09:00,file:///home/op/.config/libreoffice/4;", true, false},
        {",op,other-pc,01.01.2024 09:00,file:///home/op/.config/libreoffice/4;", false, false},
        {",op,vm,01.01.2024 09:00,http://x/4;", false, false},
        {",op,vm,01.01.2024 09:00,file:///home/op/.config/libreoffice/4", false, false},
    };
    for (const auto& c : cases) {
        testing::ScratchFolder folder;
        const std::string workbook = folder.path() + "/Tarnel账单.xls";
        std::ofstream(lockFilePath(workbook)) << c.text;
        std::string asked;
        const bool removed = removeStaleLock(workbook, "vm", [&](const std::string& profile) {
            asked = profile;
            return c.profileInUse;
        });
        EXPECT_EQ(removed, c.removed) << c.text;
        EXPECT_EQ(std::ifstream(lockFilePath(workbook)).good(), !c.removed) << c.text;
        if (c.removed) {
            EXPECT_EQ(asked, "/home/op/.config/libreoffice/4");
        }
    }
}

TEST(RunningOffices, ProfileOfAnOfficeFromItsArgumentsOrItsUser) {
    EXPECT_EQ(profileOfOffice({"/usr/lib/libreoffice/program/soffice.bin",
                               "-env:UserInstallation=file:///tmp/p%20q", "--headless"},
                              "/home/op", ""),
              "/tmp/p q");
    EXPECT_EQ(profileOfOffice({"soffice.bin", "--calc", "x.xls"}, "/home/op", ""),
              "/home/op/.config/libreoffice/4");
    EXPECT_EQ(profileOfOffice({"soffice.bin"}, "/home/op", "/home/op/.cfg"),
              "/home/op/.cfg/libreoffice/4");
    EXPECT_EQ(profileOfOffice({"soffice.bin"}, "", ""), "");  // unknown: counts as in use
    EXPECT_FALSE(officeUsesProfile("/nonexistent/cubrix-test-profile"));
    EXPECT_FALSE(hostName().empty());
}

// A process that passes for an office: its first argument is soffice.bin,
// it runs on `profile`, and it has `file` open when one is given.
class PretendOffice {
public:
    PretendOffice(const std::string& profile, const std::string& file) {
        const std::string script = (file.empty() ? "" : "exec 3<\"$1\"; ") +
                                   std::string("exec -a soffice.bin bash -c 'sleep 60; :' ") +
                                   "-env:UserInstallation=file://" + profile;
        pid_ = fork();
        if (pid_ == 0) {
            // A group of its own, ended whole; and not the test's output, which
            // the test runner waits on until every holder has gone.
            setpgid(0, 0);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            execl("/bin/bash", "bash", "-c", script.c_str(), "bash", file.c_str(), nullptr);
            _exit(127);
        }
        setpgid(pid_, pid_);  // either side may come first
        // Ready once its command line is the office's.
        for (int i = 0; i < 500 && !officeUsesProfile(profile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~PretendOffice() {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = 0;
};

// The lock beside the workbook stands only while an office has the workbook
// open; the Calc the print starts on the same profile to show the bill has
// not, and must not keep a crashed Calc's lock alive.
TEST(RunningOffices, AnOfficeMayHoldTheWorkbookOnlyWhenItHasItOpen) {
    struct Case {
        const char* what;
        bool running;
        bool opened;
        bool sameProfile;
        bool mayHold;
    };
    const Case cases[] = {
        {"no office runs", false, false, false, false},
        {"an office on the lock's profile without the workbook", true, false, true, false},
        {"an office on the lock's profile with the workbook open", true, true, true, true},
        {"an office on another profile with the workbook open", true, true, false, true},
        {"an office on another profile without it", true, false, false, false},
    };
    for (const Case& c : cases) {
        testing::ScratchFolder folder;
        const std::string workbook = folder.path() + "/Tarnel账单.xls";
        std::ofstream(workbook) << "bill";
        const std::string lockProfile = folder.path() + "/operator-profile";
        const std::string profile = c.sameProfile ? lockProfile : folder.path() + "/other";
        std::optional<PretendOffice> office;
        if (c.running) office.emplace(profile, c.opened ? workbook : "");
        EXPECT_EQ(officeMayHoldFile(workbook, lockProfile), c.mayHold) << c.what;
    }
}

}  // namespace
}  // namespace cubrix::lo
