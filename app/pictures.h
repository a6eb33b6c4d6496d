// The window's pictures, compiled into the window library. A static library's
// resources must be registered before the first use.
#pragma once

#include <QPixmap>
#include <QString>

namespace cubrix {

void registerPictures();

// A picture in its plain drawing and, where there is one, its "@2x" drawing,
// which a high-density screen (or a scaled desktop) shows sharp instead of
// enlarged.
class Picture {
public:
    Picture() = default;
    explicit Picture(const QString& path);

    bool isNull() const { return plain_.isNull(); }

    // The drawing for a device with `ratio` device pixels to the window's
    // unit; either way it covers the same area of the window.
    const QPixmap& forRatio(qreal ratio) const;

private:
    QString path_;
    QPixmap plain_;
    // Loaded when first needed: most screens never show it.
    mutable QPixmap sharp_;
    mutable bool sharpLooked_ = false;
};

}  // namespace cubrix
