// What the LibreOffice tests need around the backend: a scratch folder with a
// copy of the bill workbook, an independent headless conversion to read a
// saved workbook back, and a look for offices left running.
#pragma once

#include <string>
#include <vector>

namespace cubrix::testing {

// A fresh folder under the system temp folder, removed with the object
// (write bits restored first, so a read-only case cleans up too).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Copies the committed template to `folder`/Tarnel账单.xls; returns its path.
std::string copyTemplate(const std::string& folder);

// Runs a headless soffice of its own (profile under `profileRoot`) that
// converts `input` with `filter` into `outFolder`; true on success.
bool convertWithOffice(const std::string& input, const std::string& filter,
                       const std::string& outFolder, const std::string& profileRoot);

// A cell as read back: its text as shown, and whether it was text (quoted).
struct ReadCell {
    std::string shown;
    bool text = false;
};
using ReadSheet = std::vector<std::vector<ReadCell>>;  // [row-1][column-1]

// The first sheet of `workbook`, through a CSV conversion.
ReadSheet readBack(const std::string& workbook, const std::string& scratch);

// The first sheet of each of `workbooks`, in order, through one conversion
// (one office start for them all); an empty sheet for one that failed.
std::vector<ReadSheet> readBackAll(const std::vector<std::string>& workbooks,
                                   const std::string& scratch);

// The first sheet of `file` (any format the office reads), through a CSV
// conversion under its own name.
ReadSheet readBackFile(const std::string& file, const std::string& scratch);

// Pages of a PDF the office wrote (its page objects).
int pdfPages(const std::string& pdf);

// Writes a script that records the arguments it is called with into
// `folder`/shown, standing in for the visible office; returns its path.
std::string writeDisplayRecorder(const std::string& folder);

// Writes a script that stands in for the visible office waiting beside the
// hidden one: it records its start in `folder`/standby and stays until it is
// ended; returns its path.
std::string writeStandbyStandIn(const std::string& folder);

// Processes, other than zombies, whose command line mentions `marker`.
std::vector<int> processesMentioning(const std::string& marker);

}  // namespace cubrix::testing
