#include "app/window_messages.h"

namespace cubrix {

std::string overflowMessage(const Failure& failure) {
    if (failure.row >= 0)
        return failure.text + "：第 " + std::to_string(failure.row + 1) +
               " 行的数字太大，无法计算。请改正这一行的数字，改正后窗口会自动继续计算。";
    return failure.text + "：合计太大，无法计算。请改正各行的数字，改正后窗口会自动继续计算。";
}

QString homePageUnreachableMessage(const QString& url) {
    return QStringLiteral("无法打开主页 %1\n请在浏览器中手动打开这个地址。").arg(url);
}

QString pdfNotWrittenMessage(const QString& path) {
    return QStringLiteral("无法保存 PDF：%1\n请另选一个文件夹或文件名。").arg(path);
}

namespace {

QString mm(double value) {
    return QString::number(value, 'f', 1);
}

QString whereToAddPaper() {
#ifdef Q_OS_WIN
    return QStringLiteral("在 Windows 的“打印服务器属性 → 创建新纸张规格”里");
#else
    return QStringLiteral("在这台打印机的设置里");
#endif
}

QString paperMissing(const QString& printer, const QString& paper, const QSizeF& takenMm) {
    return QStringLiteral("打印机“%1”没有“%2”这种纸，会打在 %3 × %4 mm 的纸上")
        .arg(printer, paper, mm(takenMm.width()), mm(takenMm.height()));
}

}  // namespace

QString paperMissingMessage(const QString& printer, const QString& paper, const QSizeF& paperMm,
                            const QSizeF& takenMm) {
    return QStringLiteral(
               "%1，所以这次没有打印；请%2添加 %3 × %4 mm 的纸张规格后再打印，"
               "账单还在窗口里。")
        .arg(paperMissing(printer, paper, takenMm), whereToAddPaper(), mm(paperMm.width()),
             mm(paperMm.height()));
}

QString paperMissingWarning(const QString& printer, const QString& paper, const QSizeF& paperMm,
                            const QSizeF& takenMm) {
    return QStringLiteral("%1，不会打印：请%2添加 %3 × %4 mm 的纸张规格，或另选纸张或打印机。")
        .arg(paperMissing(printer, paper, takenMm), whereToAddPaper(), mm(paperMm.width()),
             mm(paperMm.height()));
}

QString printerGoneMessage(const QString& printer) {
    return QStringLiteral(
               "找不到打印机“%1”（可能已删除或已断开），这次没有打印；"
               "请检查打印机，或在打印预览里另选一台，账单还在窗口里。")
        .arg(printer);
}

QString printRefusedMessage(const QString& printer) {
    return QStringLiteral(
               "打印机“%1”没有接受这次打印，账单没有打印出来；"
               "请检查打印机后再打印，账单还在窗口里。")
        .arg(printer);
}

}  // namespace cubrix
