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

}  // namespace cubrix
