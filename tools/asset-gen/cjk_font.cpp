#include "cjk_font.h"

#include <QStringList>

namespace assetgen {

QFont cjkFont(int pixelSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    // Hinting depends on the platform's defaults; switching it off keeps glyph
    // outlines identical between runs and machines.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace assetgen
