// The text that a PDF reader takes from the page: what was typed, whatever
// Chinese face drew it. Qt's PDF writer maps each glyph back to the lowest
// character that the face draws with it, and faces such as Noto CJK draw the
// radical ⽊ (U+2F4A) and the ideograph 木 (U+6728) with one glyph, so that
// 木材 would read back, search and copy as ⽊材.
#pragma once

#include <QByteArray>

namespace cubrix {

// The unified ideograph that a CJK radical or stroke stands for (⽊ → 木,
// ⻋ → 车); any other character as it is.
char32_t unifiedIdeograph(char32_t c);

// `pdf` with every font's ToUnicode map sending radicals and strokes to their
// unified ideographs. The same bytes when no map needs it, or when the file
// cannot be read: the page still shows right, only its text reads otherwise.
QByteArray withIdeographText(const QByteArray& pdf);

}  // namespace cubrix
