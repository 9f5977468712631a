#pragma once
// Bitmap and icon resources by id. The program's own pictures are drawn in
// code (resources.cpp); a page adds one with a single call, e.g.
//
//   plat::RegisterBitmap(154, {12, 12}, [](QPainter& p, const QRect& r) { ... });
//   plat::RegisterBitmapFile(160, plat::ProgramPath("\\Dependencies\\deviation.png"));
//
// Handles (HBITMAP, HICON) point at the registry's entries and stay valid
// for the whole run; there is nothing to free.
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <functional>
#include <string>

#include "platform/win/types.h"

class QPainter;
class QRect;

struct HBITMAP__;
struct HICON__;
using HBITMAP = HBITMAP__*;
using HICON = HICON__*;

namespace plat {

using ImagePainter = std::function<void(QPainter& painter, const QRect& area)>;

// Drawn on first use, on an opaque background of the window colour.
void RegisterBitmap(UINT id, QSize size, ImagePainter paint);
// Drawn on first use on a transparent background.
void RegisterIcon(UINT id, QSize size, ImagePainter paint);
// Read from an image file on first use.
void RegisterBitmapFile(UINT id, const std::string& path);

// Null for an unknown id.
HBITMAP FindBitmap(UINT id);
HICON FindIcon(UINT id);
// Null pixmaps for unknown ids or null handles.
QPixmap BitmapPixmap(UINT id);
QPixmap IconPixmap(UINT id);
QPixmap PixmapOf(HBITMAP bitmap);
QPixmap PixmapOf(HICON icon);
UINT ResourceIdOf(HBITMAP bitmap);
UINT ResourceIdOf(HICON icon);

}  // namespace plat

// The program's module handle: resources are looked up in the one registry.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
HBITMAP LoadBitmap(HINSTANCE instance, UINT id);
HICON LoadIcon(HINSTANCE instance, UINT id);

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 24;
  void* bmBits = nullptr;
};

class CBitmap {
 public:
  BOOL LoadBitmap(UINT id);
  // Forgets the bitmap (the resource itself stays).
  BOOL DeleteObject();
  int GetBitmap(BITMAP* info) const;
  CSize GetSize() const;
  HBITMAP GetSafeHandle() const { return m_bitmap; }
  operator HBITMAP() const { return m_bitmap; }

 private:
  HBITMAP m_bitmap = nullptr;
};
