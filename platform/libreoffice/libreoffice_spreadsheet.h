// The bill export's spreadsheet on Linux: LibreOffice Calc. The Work instance
// is a hidden office of our own (own process group, private profile) driven
// through UNO; the Display instance opens the saved workbook in the
// operator's ordinary Calc window. That Calc is started beside the hidden
// office, showing nothing, so that the two start-ups overlap; it is handed
// the workbook once the hidden office has saved and ended, and ended when
// the print fails. Failure numbers: libreoffice_failures.h.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "export/spreadsheet.h"
#include "platform/libreoffice/libreoffice_failures.h"
#include "platform/libreoffice/office_install.h"

namespace cubrix {

namespace common {
class CallWatchdog;
}  // namespace common
namespace lo {
class OfficeProfile;
class ProcessGroup;
class UnoSession;
}  // namespace lo

struct LibreOfficeOptions {
    // The office program: a path, or a name looked up in PATH.
    std::string program = std::string(lo::kOfficeProgramDir) + "/soffice";
    // The command that shows a workbook, its path appended; empty means
    // {program, "--calc", "--norestore"}, which joins a running office.
    std::vector<std::string> displayCommand;
    // The visible office started beside the hidden one, showing nothing until
    // it is handed the workbook; empty means {program, "--nologo",
    // "--nodefault", "--norestore"} when displayCommand is empty, and none
    // otherwise. None either while an office runs on the operator's profile:
    // that one is handed the workbook.
    std::vector<std::string> standbyCommand;
    // The operator's office profile; empty means the user's default.
    std::string operatorProfile;
    // Folder for the hidden office's profile; empty means the user's cache.
    std::string cacheRoot;
    std::chrono::milliseconds startLimit{20000};  // spawn until connected
    std::chrono::milliseconds callLimit{10000};   // each call into the office
    std::chrono::milliseconds endGrace{3000};     // an abandoned office, before the kill
};

class LibreOfficeSpreadsheet : public Spreadsheet {
public:
    explicit LibreOfficeSpreadsheet(LibreOfficeOptions options = {});
    ~LibreOfficeSpreadsheet() override;
    LibreOfficeSpreadsheet(const LibreOfficeSpreadsheet&) = delete;
    LibreOfficeSpreadsheet& operator=(const LibreOfficeSpreadsheet&) = delete;

    void createInstance(InstanceUse use) override;
    void openWorkbook(const std::string& pathUtf8) override;
    void selectSheet(std::u16string_view name) override;
    void setCell(int row, int column, const CellValue& value) override;
    void save() override;
    void closeAll() override;
    void quit() override;
    void show() override;
    void release() noexcept override;

    // The hidden office's process group while it runs, else 0.
    int officeProcessGroup() const;

private:
    void startOffice();
    void startStandby();
    void endStandby() noexcept;
    void requireWork(const char* step) const;
    // Runs `call` within the call limit; an overrun becomes TimedOut.
    template <typename Call>
    void bounded(const char* step, std::chrono::milliseconds limit, Call&& call);
    void endOffice() noexcept;

    LibreOfficeOptions options_;
    std::unique_ptr<lo::ProcessGroup> office_;
    std::unique_ptr<lo::ProcessGroup> standby_;  // the visible office, not yet handed the bill
    std::unique_ptr<lo::OfficeProfile> profile_;
    std::unique_ptr<lo::UnoSession> session_;
    std::unique_ptr<common::CallWatchdog> watchdog_;
    bool working_ = false;  // a Work instance is up
    bool displaying_ = false;
    bool handOver_ = false;  // the hidden office saved and ended: the standby waits for show()
    std::string workbook_;
    std::string pipe_;  // the hidden office's UNO pipe
};

}  // namespace cubrix
