#include "app/pictures.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace cubrix {

namespace {

constexpr qreal kSharpRatio = 2;

// ":/assets/command1.png" -> ":/assets/command1@2x.png"
QString sharpPath(const QString& path) {
    const int dot = path.lastIndexOf(u'.');
    return dot < 0 ? path + QStringLiteral("@2x")
                   : path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

}  // namespace

void registerPictures() {
    registerResources();
}

Picture::Picture(const QString& path) : path_(path), plain_(path) {}

const QPixmap& Picture::forRatio(qreal ratio) const {
    if (ratio <= 1 || plain_.isNull()) return plain_;
    if (!sharpLooked_) {
        sharpLooked_ = true;
        sharp_ = QPixmap(sharpPath(path_));
        sharp_.setDevicePixelRatio(kSharpRatio);
    }
    return sharp_.isNull() ? plain_ : sharp_;
}

}  // namespace cubrix
