#include "objects.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "switches.h"

namespace standin {
namespace {

std::atomic<int> live{0};
int calls = 0;  // of this process, counted from 1 as the switches count them

// What Excel answers for a file it cannot open and most other failures.
constexpr HRESULT kOfficeError = static_cast<HRESULT>(0x800A03EC);
// Excel's refusal while it cannot take a call (a cell in edit).
constexpr HRESULT kOfficeBusy = static_cast<HRESULT>(0x800AC472);
constexpr ULONGLONG kBusyAtMs = 3000;
ULONGLONG busySince = 0;

// What every object of the process shares, as in one office.
bool alerts = true;  // DisplayAlerts
bool operatorsBookOpen = false;
// As Excel started through automation: every macro runs.
constexpr LONG kMacrosAllowed = 1;
constexpr LONG kMacrosForceDisabled = 3;
LONG automationSecurity = kMacrosAllowed;

// With --macros the workbook's opening macro runs at Open unless macros are
// forced off: it says so in the log and in a file beside the workbook.
void runOpeningMacro(const std::wstring& workbook) {
    if (!current().macros || automationSecurity == kMacrosForceDisabled) return;
    log("the workbook's opening macro ran, AutomationSecurity " +
        std::to_string(automationSecurity));
    HANDLE out = CreateFileW((workbook + L".macro-ran.txt").c_str(), FILE_APPEND_DATA,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    const std::string line = "ran in pid " + std::to_string(GetCurrentProcessId()) + "\n";
    DWORD written = 0;
    WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(out);
}

std::string typeName(VARTYPE vt) {
    static const std::map<VARTYPE, const char*> names = {
        {VT_EMPTY, "VT_EMPTY"},     {VT_NULL, "VT_NULL"},
        {VT_I2, "VT_I2"},           {VT_I4, "VT_I4"},
        {VT_R4, "VT_R4"},           {VT_R8, "VT_R8"},
        {VT_CY, "VT_CY"},           {VT_DATE, "VT_DATE"},
        {VT_BSTR, "VT_BSTR"},       {VT_DISPATCH, "VT_DISPATCH"},
        {VT_ERROR, "VT_ERROR"},     {VT_BOOL, "VT_BOOL"},
        {VT_VARIANT, "VT_VARIANT"}, {VT_UNKNOWN, "VT_UNKNOWN"},
        {VT_I8, "VT_I8"},           {VT_UI1, "VT_UI1"},
        {VT_INT, "VT_INT"}};
    const auto it = names.find(vt & VT_TYPEMASK);
    std::string name = it != names.end() ? it->second : "VT_" + std::to_string(vt & VT_TYPEMASK);
    if (vt & VT_BYREF) name += "|VT_BYREF";
    if (vt & VT_ARRAY) name += "|VT_ARRAY";
    return name;
}

// A value as one field of a line: tabs, line breaks and backslashes escaped.
std::string valueText(const VARIANT& v) {
    char number[64];
    switch (V_VT(&v)) {
        case VT_EMPTY:
            return "";
        case VT_BOOL:
            return V_BOOL(&v) ? "True" : "False";
        case VT_R8:
            std::snprintf(number, sizeof number, "%.15g", V_R8(&v));
            return number;
        case VT_I2:
            return std::to_string(V_I2(&v));
        case VT_I4:
            return std::to_string(V_I4(&v));
        case VT_BSTR: {
            std::string out;
            for (char c : utf8(std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))))) {
                if (c == '\t')
                    out += "\\t";
                else if (c == '\n')
                    out += "\\n";
                else if (c == '\r')
                    out += "\\r";
                else if (c == '\\')
                    out += "\\\\";
                else
                    out += c;
            }
            return out;
        }
        default:
            return "?";
    }
}

std::string argText(const VARIANT& v) {
    const std::string value = valueText(v);
    return typeName(V_VT(&v)) + (V_VT(&v) == VT_BSTR ? " \"" + value + "\"" : " " + value);
}

HRESULT raise(EXCEPINFO* info, HRESULT scode, const std::wstring& description) {
    if (info) {
        *info = EXCEPINFO{};
        info->bstrSource = SysAllocString(L"Office stand-in");
        info->bstrDescription = SysAllocString(description.c_str());
        info->scode = scode;
    }
    return DISP_E_EXCEPTION;
}

// An argument converted as Automation converts it; false when it does not.
bool converted(const VARIANT* from, VARTYPE to, VARIANT& out) {
    VariantInit(&out);
    return SUCCEEDED(VariantChangeType(&out, const_cast<VARIANT*>(from), 0, to));
}

bool isPut(WORD flags) {
    return flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
}

void returnBool(VARIANT* result, bool value) {
    if (!result) return;
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void returnObject(VARIANT* result, IDispatch* object) {
    if (!result) {
        object->Release();
        return;
    }
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
}

class Dispatch : public IDispatch {
public:
    Dispatch(const char* kind, std::vector<const wchar_t*> members, Host& host)
        : kind_(kind), members_(std::move(members)), host_(host) {
        host_.objectsChanged(++live);
    }
    virtual ~Dispatch() { host_.objectsChanged(--live); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        // The last reference ends the object, and the process with the last one.
        return --refs_ == 0 ? (delete this, 0) : refs_.load();
    }
    // No type information: every name is looked up at run time.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT n = 0; n < count; ++n) {
            ids[n] = DISPID_UNKNOWN;
            for (std::size_t i = 0; n == 0 && i < members_.size(); ++i)
                if (_wcsicmp(names[n], members_[i]) == 0) ids[n] = static_cast<DISPID>(i + 1);
            if (ids[n] == DISPID_UNKNOWN) {
                log(std::string("unknown name ") + kind_ + "." + utf8(names[n]));
                hr = DISP_E_UNKNOWNNAME;
            }
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        if (id < 1 || id > static_cast<DISPID>(members_.size())) return DISP_E_MEMBERNOTFOUND;
        const std::wstring name = members_[id - 1];
        // The arguments in their written order; a put's value, named, last.
        std::vector<const VARIANT*> args;
        const UINT named = params ? params->cNamedArgs : 0;
        for (UINT i = params ? params->cArgs : 0; i > named; --i)
            args.push_back(&params->rgvarg[i - 1]);
        for (UINT i = 0; i < named; ++i) args.push_back(&params->rgvarg[i]);

        const int call = ++calls;
        std::string line = "call " + std::to_string(call) + ": " + kind_ + "." + utf8(name) +
                           (isPut(flags) ? " put" : "") + "(";
        for (std::size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + argText(*args[i]);
        log(line + ")");
        const Switches& s = current();
        if (s.dieAt && s.dieAt->matches(call, name)) {
            log("ends its process at call " + std::to_string(call));
            ExitProcess(3);
        }
        if (s.hangAt && s.hangAt->matches(call, name)) {
            log("hangs at call " + std::to_string(call));
            Sleep(INFINITE);
        }
        if (s.busyAt && call >= *s.busyAt) {
            if (busySince == 0) busySince = GetTickCount64();
            if (GetTickCount64() - busySince < kBusyAtMs) {
                log("call " + std::to_string(call) + " refused 0x800AC472, busy");
                return kOfficeBusy;
            }
        }
        if (result) VariantInit(result);
        const HRESULT hr = member(id - 1, flags, args, result, info);
        if (FAILED(hr)) {
            char code[16];
            std::snprintf(
                code, sizeof code, "0x%08lX",
                static_cast<unsigned long>(hr == DISP_E_EXCEPTION && info ? info->scode : hr));
            log("call " + std::to_string(call) + " failed " + code);
        }
        return hr;
    }

protected:
    // `index` into the member names; `result` may be null.
    virtual HRESULT member(int index, WORD flags, const std::vector<const VARIANT*>& args,
                           VARIANT* result, EXCEPINFO* info) = 0;
    Host& host() { return host_; }

private:
    std::atomic<ULONG> refs_{1};
    const char* kind_;
    std::vector<const wchar_t*> members_;
    Host& host_;
};

struct Cell {
    VARTYPE type;
    std::string value;
};

// An open workbook file: held open, as an office holds it, until closed.
struct Document {
    std::wstring path;
    HANDLE file = INVALID_HANDLE_VALUE;
    bool readOnly = false;           // opened so, since another program writes it
    bool checkCompatibility = true;  // as Excel has it for an .xls
    std::map<std::pair<int, int>, Cell> cells;
    bool open() const { return file != INVALID_HANDLE_VALUE; }
    void close() {
        if (open()) CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    ~Document() { close(); }
    // What the workbook received, beside it: row, column, type, value.
    bool writeTable() const {
        std::string text = "row\tcolumn\ttype\tvalue\n";
        for (const auto& [at, cell] : cells)
            text += std::to_string(at.first) + "\t" + std::to_string(at.second) + "\t" +
                    typeName(cell.type) + "\t" + cell.value + "\n";
        HANDLE out = CreateFileW((path + L".cells.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool ok =
            WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size();
        CloseHandle(out);
        return ok;
    }
};

class Range : public Dispatch {
public:
    Range(Host& host, std::shared_ptr<Document> doc, int row, int column)
        : Dispatch("Range", {L"Value"}, host), doc_(std::move(doc)), row_(row), column_(column) {}

protected:
    HRESULT member(int, WORD flags, const std::vector<const VARIANT*>& args, VARIANT*,
                   EXCEPINFO*) override {
        if (!isPut(flags) || args.size() != 1) return DISP_E_MEMBERNOTFOUND;
        doc_->cells[{row_, column_}] = {V_VT(args[0]), valueText(*args[0])};
        return S_OK;
    }

private:
    std::shared_ptr<Document> doc_;
    int row_, column_;
};

class Worksheet : public Dispatch {
public:
    Worksheet(Host& host, std::shared_ptr<Document> doc)
        : Dispatch("Worksheet", {L"Cells"}, host), doc_(std::move(doc)) {}

protected:
    HRESULT member(int, WORD flags, const std::vector<const VARIANT*>& args, VARIANT* result,
                   EXCEPINFO* info) override {
        VARIANT row, column;
        if (isPut(flags) || args.size() != 2 || !converted(args[0], VT_I4, row) ||
            !converted(args[1], VT_I4, column))
            return DISP_E_TYPEMISMATCH;
        if (!doc_->open()) return raise(info, kOfficeError, L"workbook closed");
        returnObject(result, new Range(host(), doc_, V_I4(&row), V_I4(&column)));
        return S_OK;
    }

private:
    std::shared_ptr<Document> doc_;
};

class Workbook : public Dispatch {
public:
    Workbook(Host& host, std::shared_ptr<Document> doc)
        : Dispatch("Workbook",
                   {L"Worksheets", L"ReadOnly", L"Save", L"Close", L"CheckCompatibility"}, host),
          doc_(std::move(doc)) {}
    const std::shared_ptr<Document>& document() const { return doc_; }

protected:
    HRESULT member(int index, WORD flags, const std::vector<const VARIANT*>& args, VARIANT* result,
                   EXCEPINFO* info) override {
        if (index == 4) return checkCompatibility(flags, args, result);
        if (isPut(flags)) return DISP_E_MEMBERNOTFOUND;
        if (!doc_->open() && index != 3) return raise(info, kOfficeError, L"workbook closed");
        const Switches& s = current();
        switch (index) {
            case 0: {  // Worksheets(name): the workbook's one sheet
                VARIANT name;
                if (args.size() != 1 || !converted(args[0], VT_BSTR, name))
                    return DISP_E_TYPEMISMATCH;
                const bool found = s.sheet.empty() || _wcsicmp(V_BSTR(&name), s.sheet.c_str()) == 0;
                VariantClear(&name);
                if (!found) return DISP_E_BADINDEX;  // Excel's "subscript out of range"
                returnObject(result, new Worksheet(host(), doc_));
                return S_OK;
            }
            case 1:
                returnBool(result, s.readOnly || doc_->readOnly);
                return S_OK;
            case 2:
                if (s.readOnly || doc_->readOnly)
                    return raise(info, kOfficeError, L"the workbook is read-only");
                if (s.modalOnSave && alerts && doc_->checkCompatibility) {
                    log("Save waits on the compatibility dialog");
                    Sleep(INFINITE);
                }
                if (!doc_->writeTable()) return raise(info, kOfficeError, L"cannot write");
                log("saved " + std::to_string(doc_->cells.size()) + " cells of " +
                    utf8(doc_->path));
                return S_OK;
            default:  // Close([SaveChanges])
                doc_->close();
                return S_OK;
        }
    }

private:
    HRESULT checkCompatibility(WORD flags, const std::vector<const VARIANT*>& args,
                               VARIANT* result) {
        if (!isPut(flags)) {
            returnBool(result, doc_->checkCompatibility);
            return S_OK;
        }
        VARIANT value;
        if (args.size() != 1 || !converted(args.back(), VT_BOOL, value)) return DISP_E_TYPEMISMATCH;
        doc_->checkCompatibility = V_BOOL(&value) != VARIANT_FALSE;
        return S_OK;
    }
    std::shared_ptr<Document> doc_;
};

class Workbooks : public Dispatch {
public:
    explicit Workbooks(Host& host) : Dispatch("Workbooks", {L"Open", L"Count", L"Close"}, host) {}
    ~Workbooks() override {
        for (Workbook* book : books_) book->Release();
    }
    // The file name of the first open workbook, for the window's title.
    std::wstring firstName() {
        for (Workbook* book : books_)
            if (book->document()->open()) {
                const std::wstring& path = book->document()->path;
                return path.substr(path.find_last_of(L"\\/") + 1);
            }
        return L"";
    }

protected:
    HRESULT member(int index, WORD flags, const std::vector<const VARIANT*>& args, VARIANT* result,
                   EXCEPINFO* info) override {
        if (isPut(flags)) return DISP_E_MEMBERNOTFOUND;
        forgetClosed();
        switch (index) {
            case 0:
                return open(args, result, info);
            case 1:
                if (result) {
                    V_VT(result) = VT_I4;
                    V_I4(result) = static_cast<LONG>(books_.size());
                }
                return S_OK;
            default:
                for (Workbook* book : books_) book->document()->close();
                forgetClosed();
                // Every workbook of the process, prompts off or not.
                if (operatorsBookOpen) {
                    operatorsBookOpen = false;
                    log("the operator's workbook closed by Workbooks.Close, its changes lost");
                }
                return S_OK;
        }
    }

private:
    HRESULT open(const std::vector<const VARIANT*>& args, VARIANT* result, EXCEPINFO* info) {
        VARIANT path;
        if (args.size() != 1 || !converted(args[0], VT_BSTR, path)) return DISP_E_TYPEMISMATCH;
        auto doc = std::make_shared<Document>();
        doc->path.assign(V_BSTR(&path), SysStringLen(V_BSTR(&path)));
        VariantClear(&path);
        const Switches& s = current();
        if (s.openFails)
            return raise(info, *s.openFails,
                         s.openFailsText.empty() ? L"Open refused" : s.openFailsText);
        // Shared for reading only, as an office holds a workbook it edits; a
        // folder or a missing file does not open.
        doc->file = CreateFileW(doc->path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (!doc->open() && GetLastError() == ERROR_SHARING_VIOLATION) {
            // Written by another program: with alerts off, Excel either
            // fails outright or opens it read-only.
            if (s.lockWrite) return raise(info, kOfficeError, L"open elsewhere: " + doc->path);
            doc->file =
                CreateFileW(doc->path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            doc->readOnly = true;
        }
        if (!doc->open()) return raise(info, kOfficeError, L"cannot open " + doc->path);
        runOpeningMacro(doc->path);
        Workbook* book = new Workbook(host(), doc);
        books_.push_back(book);
        book->AddRef();
        returnObject(result, book);
        return S_OK;
    }
    void forgetClosed() {
        std::erase_if(books_, [](Workbook* book) {
            if (book->document()->open()) return false;
            book->Release();
            return true;
        });
    }
    std::vector<Workbook*> books_;
};

// The members, the last one (AutomationSecurity) unknown to an office
// started with --no-automation-security.
std::vector<const wchar_t*> applicationMembers() {
    std::vector<const wchar_t*> names = {
        L"Workbooks", L"Visible",     L"DisplayAlerts",     L"Quit",
        L"Hwnd",      L"UserControl", L"AutomationSecurity"};
    if (current().noAutomationSecurity) names.pop_back();
    return names;
}

class Application : public Dispatch {
public:
    explicit Application(Host& host)
        : Dispatch("Application", applicationMembers(), host), books_(new Workbooks(host)) {}
    ~Application() override { books_->Release(); }

protected:
    HRESULT member(int index, WORD flags, const std::vector<const VARIANT*>& args, VARIANT* result,
                   EXCEPINFO*) override {
        VARIANT value;
        switch (index) {
            case 0:
                if (isPut(flags)) return DISP_E_MEMBERNOTFOUND;
                books_->AddRef();
                returnObject(result, books_);
                return S_OK;
            case 1:
            case 2:
            case 5: {
                bool& flag = index == 1 ? visible_ : index == 2 ? alerts : userControl_;
                if (!isPut(flags)) {
                    returnBool(result, flag);
                    return S_OK;
                }
                if (args.size() != 1 || !converted(args.back(), VT_BOOL, value))
                    return DISP_E_TYPEMISMATCH;
                flag = V_BOOL(&value) != VARIANT_FALSE;
                if (index == 1) host().show(visible_, books_->firstName().c_str());
                if (index == 5) host().userControl(userControl_);
                return S_OK;
            }
            case 3:
                if (isPut(flags)) return DISP_E_MEMBERNOTFOUND;
                host().quitAsked();
                return S_OK;
            case 6:
                if (!isPut(flags)) {
                    if (result) {
                        V_VT(result) = VT_I4;
                        V_I4(result) = automationSecurity;
                    }
                    return S_OK;
                }
                if (args.size() != 1 || !converted(args.back(), VT_I4, value))
                    return DISP_E_TYPEMISMATCH;
                automationSecurity = V_I4(&value);
                return S_OK;
            default:
                if (isPut(flags)) return DISP_E_MEMBERNOTFOUND;
                if (result) {
                    V_VT(result) = VT_I4;
                    V_I4(result) = current().hwndZero
                                       ? 0
                                       : static_cast<LONG>(
                                             reinterpret_cast<std::intptr_t>(host().mainWindow()));
                }
                return S_OK;
        }
    }

private:
    Workbooks* books_;
    bool visible_ = false;  // of this object: the operator's office reports itself hidden
    bool userControl_ = false;
};

}  // namespace

IDispatch* newApplication(Host& host) {
    return new Application(host);
}

void openOperatorsWorkbook() {
    operatorsBookOpen = true;
    log("the operator's workbook open, with unsaved changes");
}

bool operatorsWorkbookIntact() {
    return operatorsBookOpen;
}

long macroSecurity() {
    return automationSecurity;
}

}  // namespace standin
