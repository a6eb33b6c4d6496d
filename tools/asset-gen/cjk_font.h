#pragma once

#include <QFont>

namespace assetgen {

// A font for Chinese labels at an exact pixel size, tried in order of
// preference so the pictures come out the same on any machine that has one.
QFont cjkFont(int pixelSize, QFont::Weight weight);

}  // namespace assetgen
