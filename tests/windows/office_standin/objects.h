// The stand-in's automation objects: Application, Workbooks, Workbook,
// Worksheet and Range, late bound by name through IDispatch with exactly the
// members the program calls. Any other name answers DISP_E_UNKNOWNNAME.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace standin {

// What the objects need of their process.
struct Host {
    virtual void objectsChanged(int live) = 0;  // number of objects alive
    virtual void show(bool visible, const wchar_t* title) = 0;
    virtual void quitAsked() = 0;
    virtual void userControl(bool on) = 0;
    virtual HWND mainWindow() = 0;  // hidden until shown, as Excel's
};

// A new application object with one reference, for the class factory.
IDispatch* newApplication(Host& host);

// The operator's own workbook in a shared office: open, with changes not
// yet saved, in no collection handed out, but closed by Workbooks.Close.
void openOperatorsWorkbook();
bool operatorsWorkbookIntact();
long macroSecurity();  // the process's AutomationSecurity

}  // namespace standin
