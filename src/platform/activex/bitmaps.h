#pragma once
// Where the image display takes the program's bitmaps from. The window
// layer's bitmap registry installs a provider; for an id that nobody
// provides the display draws a placeholder of the bitmap's size, so pages
// keep their layout before the bitmaps exist.
#include <QPixmap>
#include <QSize>
#include <functional>

namespace activex {

// Gives the bitmap for an id, or a null pixmap when it has none.
using BitmapProvider = std::function<QPixmap(int bitmapId)>;

// Installs the provider (an empty one removes it); returns the previous one.
BitmapProvider SetBitmapProvider(BitmapProvider provider);

// The picture an image display shows for a bitmap id: the provider's, or
// else a placeholder of PlaceholderSize(bitmapId).
QPixmap BitmapPicture(int bitmapId);

// The sizes the program's bitmaps are known to have (169: 61 x 56,
// 131: 126 x 48, 130: 61 x 14); 32 x 32 for any other id.
QSize PlaceholderSize(int bitmapId);

}  // namespace activex
