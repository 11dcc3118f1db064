// The counting of GDI objects at the program's imports (see gdi_counts.h).
#include "support/gdi_counts.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace wintest {
namespace {

constexpr size_t Index(GdiKind Kind) { return static_cast<size_t>(Kind); }

// The objects made since counting began, and how often each window DC was taken.
struct TCounting {
  CRITICAL_SECTION lock;
  struct Entry {
    GdiKind kind;
    int64_t takings;
  };
  std::unordered_map<HANDLE, Entry> objects;
  GdiCounts counts;

  TCounting() { InitializeCriticalSection(&lock); }
};

// Made once, before the first import is pointed at a counting function, and never freed: the
// process's last objects may be freed after the statics are gone.
TCounting* gCounting = nullptr;

class TLock {
 public:
  TLock() { EnterCriticalSection(&gCounting->lock); }
  ~TLock() { LeaveCriticalSection(&gCounting->lock); }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;
};

void Made(HANDLE Handle, GdiKind Kind) {
  if (!Handle) return;
  TCounting& c = *gCounting;
  auto [it, added] = c.objects.try_emplace(Handle, TCounting::Entry{Kind, 0});
  // A handle met again without its freeing seen was freed by the system meanwhile (only window
  // DCs are handed out again while taken).
  if (!added && (it->second.kind != Kind || Kind != GdiKind::WindowDC)) {
    c.counts.live[Index(it->second.kind)] -= it->second.takings;
    it->second = {Kind, 0};
  }
  ++it->second.takings;
  ++c.counts.live[Index(Kind)];
  ++c.counts.made[Index(Kind)];
}

// One freeing (or hand-over) of Handle, when it is of a kind the freeing function frees.
template <class Accepts>
void Freed(HANDLE Handle, Accepts KindFreed) {
  TCounting& c = *gCounting;
  auto it = c.objects.find(Handle);
  if (it == c.objects.end() || !KindFreed(it->second.kind)) return;
  --c.counts.live[Index(it->second.kind)];
  if (--it->second.takings <= 0) c.objects.erase(it);
}

// A function that makes an object of one kind. A gdi32 function is called under the lock, so
// a handle freed on one thread and made again on another is recorded in the order it happened
// (gdi32 calls nothing of the program back); a user32 function may send messages to other
// threads' windows, whose handlers may count too: the lock is held only over the record.
template <class F>
struct TMaker;
template <class R, class... A>
struct TMaker<R (*)(A...)> {
  template <R (**Real)(A...), GdiKind Kind>
  static R WINAPI Gdi(A... Args) {
    TLock lock;
    const R made = (*Real)(Args...);
    Made(made, Kind);
    return made;
  }
  template <R (**Real)(A...), GdiKind Kind>
  static R WINAPI User(A... Args) {
    const R made = (*Real)(Args...);
    TLock lock;
    Made(made, Kind);
    return made;
  }
};

#define SCRIVANE_REAL(name) decltype(&::name) Real##name = nullptr;
#define SCRIVANE_GDI_MAKERS(X)                                                                                   \
  X(CreateBitmap, Bitmap) X(CreateBitmapIndirect, Bitmap) X(CreateCompatibleBitmap, Bitmap)                      \
  X(CreateDIBSection, Bitmap) X(CreateDIBitmap, Bitmap) X(CreateDiscardableBitmap, Bitmap)                       \
  X(CreateBrushIndirect, Brush) X(CreateSolidBrush, Brush) X(CreatePatternBrush, Brush)                          \
  X(CreateHatchBrush, Brush) X(CreateDIBPatternBrushPt, Brush)                                                    \
  X(CreatePen, Pen) X(CreatePenIndirect, Pen) X(ExtCreatePen, Pen)                                                \
  X(CreateFontIndirectW, Font) X(CreateFontW, Font) X(CreateFontIndirectA, Font) X(CreateFontA, Font)             \
  X(CreateFontIndirectExW, Font)                                                                                  \
  X(CreatePalette, Palette) X(CreateHalftonePalette, Palette)                                                     \
  X(CreateRectRgn, Region) X(CreateRectRgnIndirect, Region) X(CreateRoundRectRgn, Region)                         \
  X(CreateEllipticRgn, Region) X(CreateEllipticRgnIndirect, Region) X(CreatePolygonRgn, Region)                   \
  X(CreatePolyPolygonRgn, Region) X(ExtCreateRegion, Region) X(PathToRegion, Region)                              \
  X(CreateCompatibleDC, MemoryDC) X(CreateDCW, MemoryDC) X(CreateICW, MemoryDC)
#define SCRIVANE_USER_MAKERS(X)                                                                                  \
  X(GetDC, WindowDC) X(GetDCEx, WindowDC) X(GetWindowDC, WindowDC) X(LoadBitmapW, Bitmap)                        \
  X(CreateIconIndirect, Icon) X(CopyIcon, Icon) X(CreateCursor, Icon) X(CreateIcon, Icon)

#define SCRIVANE_MAKER_REAL(name, kind) SCRIVANE_REAL(name)
SCRIVANE_GDI_MAKERS(SCRIVANE_MAKER_REAL)
SCRIVANE_USER_MAKERS(SCRIVANE_MAKER_REAL)
SCRIVANE_REAL(DeleteObject)
SCRIVANE_REAL(DeleteDC)
SCRIVANE_REAL(ReleaseDC)
SCRIVANE_REAL(SetWindowRgn)
SCRIVANE_REAL(GetIconInfo)
SCRIVANE_REAL(LoadImageW)
SCRIVANE_REAL(CopyImage)
SCRIVANE_REAL(CreateIconFromResourceEx)
SCRIVANE_REAL(DestroyIcon)
SCRIVANE_REAL(DestroyCursor)

BOOL WINAPI CountDeleteObject(HGDIOBJ Object) {
  TLock lock;
  const BOOL done = RealDeleteObject(Object);
  // The system frees a memory DC given here too.
  if (done) Freed(Object, [](GdiKind k) { return k != GdiKind::WindowDC; });
  return done;
}

BOOL WINAPI CountDeleteDC(HDC Dc) {
  TLock lock;
  const BOOL done = RealDeleteDC(Dc);
  if (done) Freed(Dc, [](GdiKind k) { return k == GdiKind::MemoryDC; });
  return done;
}

int WINAPI CountReleaseDC(HWND Window, HDC Dc) {
  const int done = RealReleaseDC(Window, Dc);
  // A window's own or its class's DC answers 0 but is given back all the same.
  TLock lock;
  Freed(Dc, [](GdiKind k) { return k == GdiKind::WindowDC; });
  return done;
}

// The system owns the region from a successful call on.
int WINAPI CountSetWindowRgn(HWND Window, HRGN Region, BOOL Redraw) {
  const int done = RealSetWindowRgn(Window, Region, Redraw);
  if (done && Region) {
    TLock lock;
    Freed(Region, [](GdiKind k) { return k == GdiKind::Region; });
  }
  return done;
}

BOOL WINAPI CountGetIconInfo(HICON Icon, PICONINFO Info) {
  const BOOL done = RealGetIconInfo(Icon, Info);
  if (done && Info) {
    TLock lock;
    Made(Info->hbmMask, GdiKind::Bitmap);
    Made(Info->hbmColor, GdiKind::Bitmap);
  }
  return done;
}

GdiKind ImageKind(UINT Type) { return Type == IMAGE_BITMAP ? GdiKind::Bitmap : GdiKind::Icon; }

// Shared images belong to the system.
HANDLE WINAPI CountLoadImageW(HINSTANCE Instance, LPCWSTR Name, UINT Type, int Width, int Height, UINT Flags) {
  const HANDLE image = RealLoadImageW(Instance, Name, Type, Width, Height, Flags);
  if (image && !(Flags & LR_SHARED)) {
    TLock lock;
    Made(image, ImageKind(Type));
  }
  return image;
}

HANDLE WINAPI CountCopyImage(HANDLE Image, UINT Type, int Width, int Height, UINT Flags) {
  const HANDLE copy = RealCopyImage(Image, Type, Width, Height, Flags);
  if (copy && copy != Image) {
    TLock lock;
    if (Flags & LR_COPYDELETEORG) Freed(Image, [](GdiKind) { return true; });
    Made(copy, ImageKind(Type));
  }
  return copy;
}

HICON WINAPI CountCreateIconFromResourceEx(PBYTE Bits, DWORD Size, BOOL IsIcon, DWORD Version, int Width,
                                           int Height, UINT Flags) {
  const HICON icon = RealCreateIconFromResourceEx(Bits, Size, IsIcon, Version, Width, Height, Flags);
  if (icon && !(Flags & LR_SHARED)) {
    TLock lock;
    Made(icon, GdiKind::Icon);
  }
  return icon;
}

BOOL WINAPI CountDestroyIcon(HICON Icon) {
  const BOOL done = RealDestroyIcon(Icon);
  if (done) {
    TLock lock;
    Freed(Icon, [](GdiKind k) { return k == GdiKind::Icon; });
  }
  return done;
}

BOOL WINAPI CountDestroyCursor(HCURSOR Cursor) {
  const BOOL done = RealDestroyCursor(Cursor);
  if (done) {
    TLock lock;
    Freed(Cursor, [](GdiKind k) { return k == GdiKind::Icon; });
  }
  return done;
}

struct THook {
  const char* dll;
  const char* name;
  void* counting;
  void** real;
};

template <class F>
void* Code(F Function) {
  return reinterpret_cast<void*>(Function);
}

#define SCRIVANE_HOOK(dll, name, counting) THook{dll, #name, Code(counting), reinterpret_cast<void**>(&Real##name)},
#define SCRIVANE_GDI_MAKER_HOOK(name, kind) \
  SCRIVANE_HOOK("gdi32.dll", name, (&TMaker<decltype(&::name)>::Gdi<&Real##name, GdiKind::kind>))
#define SCRIVANE_USER_MAKER_HOOK(name, kind) \
  SCRIVANE_HOOK("user32.dll", name, (&TMaker<decltype(&::name)>::User<&Real##name, GdiKind::kind>))

const THook kHooks[] = {
    SCRIVANE_GDI_MAKERS(SCRIVANE_GDI_MAKER_HOOK) SCRIVANE_USER_MAKERS(SCRIVANE_USER_MAKER_HOOK)
    SCRIVANE_HOOK("gdi32.dll", DeleteObject, &CountDeleteObject)
    SCRIVANE_HOOK("gdi32.dll", DeleteDC, &CountDeleteDC)
    SCRIVANE_HOOK("user32.dll", ReleaseDC, &CountReleaseDC)
    SCRIVANE_HOOK("user32.dll", SetWindowRgn, &CountSetWindowRgn)
    SCRIVANE_HOOK("user32.dll", GetIconInfo, &CountGetIconInfo)
    SCRIVANE_HOOK("user32.dll", LoadImageW, &CountLoadImageW)
    SCRIVANE_HOOK("user32.dll", CopyImage, &CountCopyImage)
    SCRIVANE_HOOK("user32.dll", CreateIconFromResourceEx, &CountCreateIconFromResourceEx)
    SCRIVANE_HOOK("user32.dll", DestroyIcon, &CountDestroyIcon)
    SCRIVANE_HOOK("user32.dll", DestroyCursor, &CountDestroyCursor)
};

// Points the program's import of each function above at its counting function, keeping the
// address it held as the function to call on.
void PointImportsAtCounting() {
  auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    const char* dll = reinterpret_cast<const char*>(base + d->Name);
    if (!d->OriginalFirstThunk) continue;  // no names to know the functions by
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      for (const THook& hook : kHooks) {
        if (_stricmp(dll, hook.dll) != 0 || std::strcmp(name, hook.name) != 0) continue;
        void** slot = reinterpret_cast<void**>(&slots->u1.Function);
        *hook.real = *slot;
        DWORD protection = 0;
        if (VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) {
          InterlockedExchangePointer(slot, hook.counting);
          VirtualProtect(slot, sizeof *slot, protection, &protection);
        }
      }
    }
  }
}

void StartCounting() {
  static std::once_flag once;
  std::call_once(once, [] {
    gCounting = new TCounting;
    PointImportsAtCounting();
  });
}

// Counting starts with the program (in every program that counts), so an object made before
// a test's first count and replaced after it is seen going as well as its replacement coming.
[[maybe_unused]] const bool kCountingFromTheStart = (StartCounting(), true);

}  // namespace

const char* GdiKindName(GdiKind Kind) {
  static const char* const names[kGdiKindCount] = {"Bitmap", "Brush", "Pen",      "Font",    "Palette",
                                                   "Region", "Icon",  "MemoryDC", "WindowDC"};
  const auto i = Index(Kind);
  return i < kGdiKindCount ? names[i] : "?";
}

int64_t GdiCounts::LiveTotal() const {
  int64_t n = 0;
  for (int64_t v : live) n += v;
  return n;
}

int64_t GdiCounts::MadeTotal() const {
  int64_t n = 0;
  for (int64_t v : made) n += v;
  return n;
}

GdiCounts CountGdi() {
  StartCounting();
  TLock lock;
  return gCounting->counts;
}

std::string GdiGrowth(const GdiCounts& Before, const GdiCounts& After, int64_t Margin) {
  std::string grown;
  for (int i = 0; i < kGdiKindCount; ++i) {
    const int64_t more = After.live[static_cast<size_t>(i)] - Before.live[static_cast<size_t>(i)];
    if (more <= Margin) continue;
    if (!grown.empty()) grown += ", ";
    grown += std::string(GdiKindName(static_cast<GdiKind>(i))) + " +" + std::to_string(more);
  }
  return grown;
}

::testing::AssertionResult NoGdiGrowth(const GdiCounts& Before, const GdiCounts& After, int64_t Margin) {
  const std::string grown = GdiGrowth(Before, After, Margin);
  if (grown.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "GDI objects left behind: " << grown << " (live before: "
                                       << GdiCountsText(Before) << "; after: " << GdiCountsText(After) << ")";
}

std::string GdiCountsText(const GdiCounts& Counts) {
  std::string text;
  for (int i = 0; i < kGdiKindCount; ++i) {
    if (i) text += ", ";
    text += std::string(GdiKindName(static_cast<GdiKind>(i))) + " " + std::to_string(Counts.live[static_cast<size_t>(i)]);
  }
  return text;
}

}  // namespace wintest
