#include "office_test_support.h"

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "platform/libreoffice/office_install.h"
#include "platform/libreoffice/proc_file.h"

namespace cubrix::testing {
namespace fs = std::filesystem;
namespace {

// Comma, double quote, UTF-8, from line 1, quote every text cell, numbers
// as shown (so the template's number formats are read back too).
constexpr const char* kCsvFilter =
    "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,false,true,false";

std::vector<std::string> splitCsvLine(const std::string& line, std::vector<bool>& quoted) {
    std::vector<std::string> fields(1);
    quoted.assign(1, false);
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            inQuotes = true;
            quoted.back() = true;
        } else if (c == ',') {
            fields.emplace_back();
            quoted.push_back(false);
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

}  // namespace

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "cubrix-lo-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string copyTemplate(const std::string& folder) {
    const std::string target = folder + "/Tarnel账单.xls";
    fs::copy_file(CUBRIX_WORKBOOK_TEMPLATE, target, fs::copy_options::overwrite_existing);
    return target;
}

namespace {

bool convertAll(const std::vector<std::string>& inputs, const std::string& filter,
                const std::string& outFolder, const std::string& profileRoot) {
    const std::string profile = "-env:UserInstallation=file://" + profileRoot + "/readback-profile";
    std::vector<std::string> args = {std::string(lo::kOfficeProgramDir) + "/soffice",
                                     "--headless",
                                     "--invisible",
                                     "--norestore",
                                     "--nolockcheck",
                                     profile,
                                     "--convert-to",
                                     filter,
                                     "--outdir",
                                     outFolder};
    args.insert(args.end(), inputs.begin(), inputs.end());
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("LC_ALL", "C.UTF-8", 1);
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ReadSheet readCsv(const std::string& path) {
    ReadSheet sheet;
    std::ifstream csv(path);
    std::string line;
    while (std::getline(csv, line)) {
        std::vector<bool> quoted;
        const auto fields = splitCsvLine(line, quoted);
        sheet.emplace_back();
        for (std::size_t i = 0; i < fields.size(); ++i)
            sheet.back().push_back({fields[i], quoted[i]});
    }
    return sheet;
}

}  // namespace

bool convertWithOffice(const std::string& input, const std::string& filter,
                       const std::string& outFolder, const std::string& profileRoot) {
    return convertAll({input}, filter, outFolder, profileRoot);
}

ReadSheet readBack(const std::string& workbook, const std::string& scratch) {
    return readBackAll({workbook}, scratch).front();
}

std::vector<ReadSheet> readBackAll(const std::vector<std::string>& workbooks,
                                   const std::string& scratch) {
    const std::string out = scratch + "/readback";
    fs::create_directories(out);
    // Converted from copies: the originals keep their names and lock states,
    // and workbooks of the same name get outputs of their own.
    std::vector<std::string> copies;
    for (std::size_t i = 0; i < workbooks.size(); ++i) {
        copies.push_back(out + "/bill-" + std::to_string(i) + ".xls");
        fs::copy_file(workbooks[i], copies.back(), fs::copy_options::overwrite_existing);
    }
    std::vector<ReadSheet> sheets(workbooks.size());
    if (!convertAll(copies, kCsvFilter, out, scratch)) return sheets;
    for (std::size_t i = 0; i < workbooks.size(); ++i)
        sheets[i] = readCsv(out + "/bill-" + std::to_string(i) + ".csv");
    return sheets;
}

ReadSheet readBackFile(const std::string& file, const std::string& scratch) {
    const std::string out = scratch + "/readback";
    fs::create_directories(out);
    if (!convertAll({file}, kCsvFilter, out, scratch)) return {};
    return readCsv(out + "/" + fs::path(file).stem().string() + ".csv");
}

int pdfPages(const std::string& pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    // "/Type/Page" names a page; "/Type/Pages" the tree above the pages.
    constexpr std::string_view kPage = "/Type/Page";
    int pages = 0;
    for (auto at = bytes.find(kPage); at != std::string::npos; at = bytes.find(kPage, at + 1))
        if (at + kPage.size() >= bytes.size() || bytes[at + kPage.size()] != 's') ++pages;
    return pages;
}

std::string writeDisplayRecorder(const std::string& folder) {
    const std::string script = folder + "/show.sh";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << folder << "/shown.tmp\"\n"
                          << "mv \"" << folder << "/shown.tmp\" \"" << folder << "/shown\"\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

std::string writeStandbyStandIn(const std::string& folder) {
    const std::string script = folder + "/standby.sh";
    std::ofstream(script) << "#!/bin/sh\ntouch \"" << folder << "/standby\"\n"
                          << "while :; do sleep 0.1; done\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

std::vector<int> processesMentioning(const std::string& marker) {
    std::vector<int> found;
    DIR* proc = opendir("/proc");
    if (!proc) return found;
    while (dirent* e = readdir(proc)) {
        if (e->d_name[0] < '1' || e->d_name[0] > '9') continue;
        const std::string dir = std::string("/proc/") + e->d_name;
        const std::string cmdline = lo::readProcFile(dir + "/cmdline");
        if (cmdline.find(marker) == std::string::npos) continue;
        const std::string statLine = lo::readProcFile(dir + "/stat");
        const auto close = statLine.rfind(')');
        if (close != std::string::npos && close + 2 < statLine.size() && statLine[close + 2] == 'Z')
            continue;
        found.push_back(std::atoi(e->d_name));
    }
    closedir(proc);
    return found;
}

}  // namespace cubrix::testing
