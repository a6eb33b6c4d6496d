// A spreadsheet that records every call and can fail at a chosen one.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bill/utf8.h"
#include "export/spreadsheet.h"

namespace cubrix::testing {

class FakeSpreadsheet : public Spreadsheet {
public:
    // Operation letters as the export uses them: A create, C open, D sheet,
    // E cell, F save, G close, H quit, I show, R release.
    std::vector<std::string> calls;
    std::map<std::pair<int, int>, CellValue> cells;  // last value per (row, column)
    int instancesAlive = 0;                          // created and neither quit nor released
    int instancesShown = 0;
    bool foreignFailure = false;        // throw what no std::exception is, as UNO does
    std::function<void()> whileSaving;  // runs inside each save

    // Fail the `nth` (1-based) call of operation `op`, or with `andLater`
    // that call and every later one.
    void failAt(char op, int nth, SpreadsheetError kind = SpreadsheetError::Other,
                bool andLater = false) {
        failures_[op] = {nth, kind, andLater};
    }

    void createInstance(InstanceUse use) override {
        record('A', use == InstanceUse::Work ? "work" : "display");
        ++instancesAlive;
        held_ = true;
    }
    void openWorkbook(const std::string& path) override { record('C', path); }
    void selectSheet(std::u16string_view name) override { record('D', toUtf8(name)); }
    void setCell(int row, int column, const CellValue& value) override {
        record('E', std::to_string(row) + "," + std::to_string(column));
        cells[{row, column}] = value;
    }
    void save() override {
        record('F');
        if (whileSaving) whileSaving();
    }
    void closeAll() override { record('G'); }
    void quit() override {
        record('H');
        --instancesAlive;
        quit_ = true;
    }
    void show() override {
        record('I');
        ++instancesShown;
        shown_ = true;
    }
    void release() noexcept override {
        calls.push_back("R");
        // An instance neither quit nor shown is ended by the release.
        if (held_ && !quit_ && !shown_) --instancesAlive;
        if (shown_) --instancesAlive;  // lives on, owned by the operator now
        held_ = quit_ = shown_ = false;
    }

    int count(char op) const {
        int n = 0;
        for (const auto& c : calls) n += c[0] == op;
        return n;
    }

private:
    void record(char op, const std::string& arg = {}) {
        calls.push_back(arg.empty() ? std::string(1, op) : std::string(1, op) + ":" + arg);
        const auto it = failures_.find(op);
        if (it == failures_.end()) return;
        const int n = count(op);
        if (n == it->second.nth || (it->second.andLater && n > it->second.nth)) {
            if (foreignFailure) throw op;
            throw SpreadsheetFailure(it->second.kind, 1000 + op, "injected");
        }
    }

    struct Failing {
        int nth;
        SpreadsheetError kind;
        bool andLater;
    };
    std::map<char, Failing> failures_;
    bool held_ = false;
    bool quit_ = false;
    bool shown_ = false;
};

}  // namespace cubrix::testing
