#include "palette/insert/clipboard_snapshot_win32.h"

#include <cstring>

namespace vxpalette {

namespace {

enum class Storage { GlobalMemory, Bitmap, EnhMetafile, MetafilePicture, Palette, Unreadable };

Storage StorageOf(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP: return Storage::Bitmap;
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE: return Storage::EnhMetafile;
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT: return Storage::MetafilePicture;
    case CF_PALETTE: return Storage::Palette;
    case CF_OWNERDISPLAY: return Storage::Unreadable;
    default: break;
  }
  bool privateHandle = (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
                       (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
  return privateHandle ? Storage::Unreadable : Storage::GlobalMemory;
}

HGLOBAL CopyGlobal(HANDLE source) {
  SIZE_T size = GlobalSize(source);
  const void* from = size ? GlobalLock(source) : nullptr;
  if (!from) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  void* to = copy ? GlobalLock(copy) : nullptr;
  if (to) {
    std::memcpy(to, from, size);
    GlobalUnlock(copy);
  } else if (copy) {
    GlobalFree(copy);
    copy = nullptr;
  }
  GlobalUnlock(source);
  return copy;
}

HANDLE CopyMetafilePicture(HANDLE source) {
  HGLOBAL copy = CopyGlobal(source);
  auto* picture = copy ? static_cast<METAFILEPICT*>(GlobalLock(copy)) : nullptr;
  if (!picture) return copy;
  picture->hMF = CopyMetaFileW(picture->hMF, nullptr);
  bool copied = picture->hMF != nullptr;
  GlobalUnlock(copy);
  if (copied) return copy;
  GlobalFree(copy);
  return nullptr;
}

HANDLE CopyPalette(HANDLE source) {
  WORD count = 0;
  if (!GetObjectW(source, sizeof(count), &count) || count == 0) return nullptr;
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = count;
  GetPaletteEntries(static_cast<HPALETTE>(source), 0, count, palette->palPalEntry);
  return CreatePalette(palette);
}

HANDLE CopyHandle(UINT format, HANDLE source) {
  switch (StorageOf(format)) {
    case Storage::GlobalMemory: return CopyGlobal(source);
    case Storage::Bitmap: return CopyImage(source, IMAGE_BITMAP, 0, 0, 0);
    case Storage::EnhMetafile: return CopyEnhMetaFileW(static_cast<HENHMETAFILE>(source), nullptr);
    case Storage::MetafilePicture: return CopyMetafilePicture(source);
    case Storage::Palette: return CopyPalette(source);
    case Storage::Unreadable: return nullptr;
  }
  return nullptr;
}

void FreeHandle(UINT format, HANDLE handle) {
  switch (StorageOf(format)) {
    case Storage::GlobalMemory: GlobalFree(handle); return;
    case Storage::Bitmap:
    case Storage::Palette: DeleteObject(handle); return;
    case Storage::EnhMetafile: DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle)); return;
    case Storage::MetafilePicture:
      if (auto* picture = static_cast<METAFILEPICT*>(GlobalLock(handle))) {
        DeleteMetaFile(picture->hMF);
        GlobalUnlock(handle);
      }
      GlobalFree(handle);
      return;
    case Storage::Unreadable: return;
  }
}

}  // namespace

ClipboardSnapshot::~ClipboardSnapshot() {
  for (const Item& item : items_) FreeHandle(item.format, item.handle);
}

void ClipboardSnapshot::TakeFromOpenClipboard() {
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    HANDLE source = GetClipboardData(format);
    HANDLE copy = source ? CopyHandle(format, source) : nullptr;
    if (copy) {
      items_.push_back({format, copy});
    } else {
      ++notCopied_;
    }
  }
}

void ClipboardSnapshot::PutIntoOpenClipboard() {
  for (const Item& item : items_) {
    if (!SetClipboardData(item.format, item.handle)) FreeHandle(item.format, item.handle);
  }
  items_.clear();
}

}  // namespace vxpalette
