#pragma once
// Owners of the GDI objects the windows create.
#include "base/win32/unique_handle.h"

namespace ostravel::win32 {

inline void DeleteFontFn(HFONT h) { DeleteObject(h); }
inline void DeleteBrushFn(HBRUSH h) { DeleteObject(h); }
inline void DeleteBitmapFn(HBITMAP h) { DeleteObject(h); }
inline void DestroyIconFn(HICON h) { DestroyIcon(h); }

using UniqueFont = UniqueAny<HFONT, HandleTraits<HFONT, DeleteFontFn>>;
using UniqueBrush = UniqueAny<HBRUSH, HandleTraits<HBRUSH, DeleteBrushFn>>;
using UniqueBitmap = UniqueAny<HBITMAP, HandleTraits<HBITMAP, DeleteBitmapFn>>;
using UniqueIcon = UniqueAny<HICON, HandleTraits<HICON, DestroyIconFn>>;

// A font selected into a DC for the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The system's message font (Segoe UI on current systems), at `height` when given.
UniqueFont CreateMessageFont(bool bold = false);

}  // namespace ostravel::win32
