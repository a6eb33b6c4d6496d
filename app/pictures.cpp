#include "app/pictures.h"

#include <QIcon>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace cubrix {

namespace {

// Every sharp drawing is drawn at twice the plain one's pixels each way, so
// one drawing serves every ratio above 1.
constexpr qreal kSharpRatio = 2;

}  // namespace

void registerPictures() {
    registerResources();
}

Picture::Picture(const QString& path) : path_(path), plain_(path) {}

const QPixmap& Picture::forRatio(qreal ratio) const {
    if (ratio <= 1 || plain_.isNull()) return plain_;
    if (!sharpLooked_) {
        sharpLooked_ = true;
        // Qt's own "@2x" lookup, the one QIcon::addFile runs; its reader takes
        // the drawing's ratio from the name. A QIcon itself would not do: it
        // looks for "@2x" only if the screen is dense when the icon is made,
        // and at ratios 1.25 and 1.5 it hands back the plain drawing enlarged.
        const QString sharpPath = qt_findAtNxFile(path_, kSharpRatio);
        if (sharpPath != path_) sharp_ = QPixmap(sharpPath);
    }
    return sharp_.isNull() ? plain_ : sharp_;
}

}  // namespace cubrix
