// sheet-probe: sets fields from standard input, runs recalculation passes and
// prints every field. For golden tests and for checks from outside the tests.
//
//   sheet-probe [--passes N]     (N defaults to 1)
//   stdin:  NAME<TAB>TEXT per line, TEXT with the escapes \t \n \\ (UTF-8)
//   stdout: the 67 fields as NAME<TAB>TEXT, then on a failed pass
//           failure<TAB>NUMBER<TAB>TEXT (exit 3)
//   exit 2: bad arguments, an unknown field name or a malformed line
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bill/bill_sheet.h"
#include "bill/recalculation.h"
#include "bill/utf8.h"
#include "bill/zero_blanking.h"
#include "tools/sheet-probe/probe_case.h"

namespace {

using cubrix::FieldRef;

struct Set {
    FieldRef field;
    std::u16string text;
};

int usage(const char* why) {
    std::cerr << "sheet-probe: " << why << "\nusage: sheet-probe [--passes N] < sets\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    long passes = 1;
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg == "--passes" && a + 1 < argc) {
            const std::string_view n = argv[++a];
            const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), passes);
            if (ec != std::errc() || end != n.data() + n.size() || passes < 0)
                return usage("--passes takes a whole number, 0 or more");
        } else {
            return usage("unknown argument");
        }
    }

    // Read and check everything before touching the sheet, so that a bad line
    // leaves standard output empty.
    std::vector<Set> sets;
    std::string line;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        if (line.empty()) continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos) {
            std::cerr << "sheet-probe: line " << number << ": expected NAME<TAB>TEXT: " << line
                      << '\n';
            return 2;
        }
        const auto field = cubrix::parseFieldName(std::string_view(line).substr(0, tab));
        if (!field) {
            std::cerr << "sheet-probe: line " << number << ": unknown field name '"
                      << line.substr(0, tab) << "'\n";
            return 2;
        }
        const auto text = cubrix::probe::unescape(std::string_view(line).substr(tab + 1));
        if (!text) {
            std::cerr << "sheet-probe: line " << number
                      << ": bad escape (only \\t, \\n and \\\\ are known)\n";
            return 2;
        }
        sets.push_back({*field, cubrix::fromUtf8(*text)});
    }

    cubrix::BillSheet sheet;
    cubrix::connectZeroBlanking(sheet);
    for (const auto& s : sets) sheet.set(s.field, s.text);

    std::optional<cubrix::Failure> failure;
    for (long p = 0; p < passes && !failure; ++p) failure = cubrix::Timer1_Timer(sheet);

    std::string out;
    for (int slot = 0; slot < cubrix::kFieldCount; ++slot) {
        const auto ref = cubrix::fieldAt(slot);
        out += cubrix::fieldName(ref) + '\t' +
               cubrix::probe::escape(cubrix::toUtf8(sheet.text(ref))) + '\n';
    }
    if (failure) out += "failure\t" + std::to_string(failure->number) + '\t' + failure->text + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return failure ? 3 : 0;
}
