#include "recording_dispatch.h"

#include <windows.h>

#include <cstdio>

#include "bill/utf8.h"

namespace cubrix::testing {
namespace {

// The object a member hands back, as Excel names its classes.
std::string resultClass(const std::string& member) {
    static const std::map<std::string, std::string> classes = {{"Workbooks", "Workbooks"},
                                                               {"Open", "Workbook"},
                                                               {"Worksheets", "Worksheet"},
                                                               {"Cells", "Range"}};
    const auto it = classes.find(member);
    return it == classes.end() ? member : it->second;
}

std::string render(const VARIANT& v) {
    char number[32];
    switch (V_VT(&v)) {
        case VT_R8:
            std::snprintf(number, sizeof number, "r8:%g", V_R8(&v));
            return number;
        case VT_I4:
            return "i4:" + std::to_string(V_I4(&v));
        case VT_BOOL:
            return V_BOOL(&v) ? "true" : "false";
        case VT_BSTR:
            return "\"" +
                   toUtf8(
                       {reinterpret_cast<const char16_t*>(V_BSTR(&v)), SysStringLen(V_BSTR(&v))}) +
                   "\"";
        default:
            return "vt" + std::to_string(V_VT(&v));
    }
}

class Recorder final : public IDispatch {
public:
    Recorder(Automation& automation, std::string name) : a_(automation), name_(std::move(name)) {
        ++a_.alive;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        *out = static_cast<IDispatch*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            --a_.alive;
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1) return E_INVALIDARG;
        const std::string name = toUtf8(reinterpret_cast<const char16_t*>(names[0]));
        members_.push_back(name);
        *ids = static_cast<DISPID>(members_.size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        if (id < 1 || id > static_cast<DISPID>(members_.size())) return DISP_E_MEMBERNOTFOUND;
        const std::string& member = members_[id - 1];
        const bool isPut = flags & DISPATCH_PROPERTYPUT;
        // Excel refuses a put whose value is not named DISPID_PROPERTYPUT.
        if (isPut &&
            (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;

        // Arguments back into written order; a put's value (rgvarg[0]) last.
        std::string entry = name_ + "." + member;
        const UINT n = params->cArgs;
        const UINT indexes = isPut ? n - 1 : n;
        if (indexes > 0 || (flags == DISPATCH_METHOD)) {
            entry += "(";
            for (UINT i = 0; i < indexes; ++i)
                entry += (i ? "," : "") + render(params->rgvarg[n - 1 - i]);
            entry += ")";
        }
        if (isPut) entry += "=" + render(params->rgvarg[0]);
        a_.log.push_back(entry);

        if (const auto fault = a_.faults.find(member);
            fault != a_.faults.end() && fault->second.times != 0) {
            if (fault->second.times > 0) --fault->second.times;
            if (!fault->second.asException) return fault->second.hr;
            *info = {};
            info->bstrSource = SysAllocString(L"Recorder");
            info->scode = fault->second.hr;
            return DISP_E_EXCEPTION;
        }
        if (isPut || !result) return S_OK;
        if (const auto value = a_.values.find(member); value != a_.values.end()) {
            if (const bool* flag = std::get_if<bool>(&value->second)) {
                V_VT(result) = VT_BOOL;
                V_BOOL(result) = *flag ? VARIANT_TRUE : VARIANT_FALSE;
            } else {
                V_VT(result) = VT_I4;
                V_I4(result) = std::get<int>(value->second);
            }
            return S_OK;
        }
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = new Recorder(a_, resultClass(member));
        return S_OK;
    }

private:
    Automation& a_;
    std::string name_;
    std::vector<std::string> members_;
    ULONG refs_ = 1;
};

}  // namespace

com::ComPtr<IDispatch> Automation::application() {
    return com::ComPtr<IDispatch>::adopt(new Recorder(*this, "Excel"));
}

ProcessTable Automation::processes() {
    return {[this] { return before; },
            [](std::intptr_t window) { return static_cast<DWORD>(window); },
            [this](DWORD process, std::chrono::milliseconds) {
                log.push_back("awaited process " + std::to_string(process));
                return !lingers;
            },
            [this](DWORD process) { log.push_back("ended process " + std::to_string(process)); }};
}

int Automation::count(const std::string& prefix) const {
    int n = 0;
    for (const auto& entry : log) n += entry.rfind(prefix, 0) == 0;
    return n;
}

void writeFile(const std::string& pathUtf8, const std::string& bytes) {
    const std::u16string wide = fromUtf8(pathUtf8);
    const auto* path = reinterpret_cast<const wchar_t*>(wide.c_str());
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    const HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::shared_ptr<void> holdForWriting(const std::string& pathUtf8) {
    const std::u16string wide = fromUtf8(pathUtf8);
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_WRITE, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return std::shared_ptr<void>(file, [](HANDLE h) {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    });
}

std::string ownWorkbook(const std::string& name) {
    constexpr char kCompoundFile[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        temp + std::wstring(L"cubrix-") + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string path =
        toUtf8(reinterpret_cast<const char16_t*>(folder.c_str())) + "\\" + name;
    writeFile(path, kCompoundFile);
    return path;
}

}  // namespace cubrix::testing
