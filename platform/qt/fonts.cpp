#include "platform/qt/fonts.h"

#include <QFont>
#include <QStringList>

namespace cubrix {

void installFontSubstitutions() {
    const QStringList songFaces = {QStringLiteral("AR PL UMing CN"),
                                   QStringLiteral("Noto Serif CJK SC"),
                                   QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), songFaces);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
}

}  // namespace cubrix
