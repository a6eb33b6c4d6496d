#include "platform/qt/windows_paper.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace cubrix {
namespace {

constexpr double kTenthsOfMm = 10;
constexpr double kMmPerInch = 25.4;

struct PrinterHandle {
    HANDLE handle = nullptr;
    ~PrinterHandle() {
        if (handle) ClosePrinter(handle);
    }
};

struct DeviceContext {
    HDC dc = nullptr;
    ~DeviceContext() {
        if (dc) DeleteDC(dc);
    }
};

}  // namespace

std::optional<QSizeF> windowsPaperTakenMm(const QString& printer, const QPageSize& size) {
    std::wstring name = printer.toStdWString();
    PrinterHandle opened;
    if (!OpenPrinterW(name.data(), &opened.handle, nullptr)) return std::nullopt;
    const LONG bytes =
        DocumentPropertiesW(nullptr, opened.handle, name.data(), nullptr, nullptr, 0);
    if (bytes <= 0) return std::nullopt;
    std::vector<char> buffer(static_cast<std::size_t>(bytes));
    auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
    if (DocumentPropertiesW(nullptr, opened.handle, name.data(), mode, nullptr, DM_OUT_BUFFER) !=
        IDOK)
        return std::nullopt;
    // As Qt asks for it: by the form's number (a form made in the print
    // server's properties numbers above DMPAPER_USER), or as a size of the
    // user's own.
    mode->dmOrientation = DMORIENT_PORTRAIT;
    mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
    if (const int form = size.windowsId(); form > 0 && form != DMPAPER_USER) {
        mode->dmPaperSize = static_cast<short>(form);
        mode->dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
    } else {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        mode->dmPaperSize = DMPAPER_USER;
        mode->dmPaperWidth = static_cast<short>(qRound(mm.width() * kTenthsOfMm));
        mode->dmPaperLength = static_cast<short>(qRound(mm.height() * kTenthsOfMm));
        mode->dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    }
    if (DocumentPropertiesW(nullptr, opened.handle, name.data(), mode, mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
        return std::nullopt;
    DeviceContext context;
    context.dc = CreateDCW(nullptr, name.c_str(), nullptr, mode);
    if (!context.dc) return std::nullopt;
    const int dpiX = GetDeviceCaps(context.dc, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(context.dc, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0) return std::nullopt;
    const QSizeF taken(GetDeviceCaps(context.dc, PHYSICALWIDTH) * kMmPerInch / dpiX,
                       GetDeviceCaps(context.dc, PHYSICALHEIGHT) * kMmPerInch / dpiY);
    return taken.width() <= taken.height() ? taken : taken.transposed();
}

}  // namespace cubrix
