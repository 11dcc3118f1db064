#include "skin_layered/adapters/ShellFolders.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "classlib/forms/Forms.h"
#include "classlib/ole/ComObj.h"
#include "skin_layered/paint/AlphaImageList.h"

namespace skin_layered {

using Microsoft::WRL::ComPtr;

VCL_CLASS_INFO(TqvShellFolder) {}

namespace {

struct TShellSupport {
  int Starts = 0;
  bool SystemListAsked = false;
  std::unique_ptr<TqvShellFolder> Desktop;
  HIMAGELIST SystemList = nullptr;
  std::unique_ptr<TsAlphaImageList> SystemImages;
  CRITICAL_SECTION Lock{};
  std::unique_ptr<TqvOleScope> Ole;
};

TShellSupport& Support() {
  static TShellSupport support;
  return support;
}

ComPtr<IMalloc> ShellMalloc() {
  ComPtr<IMalloc> malloc;
  vcl::OleCheck(SHGetMalloc(&malloc));
  return malloc;
}

USHORT ItemLength(LPCITEMIDLIST P) {
  USHORT length;
  std::memcpy(&length, P, sizeof length);  // items need not be aligned
  return length;
}

}  // namespace

void* ShellAlloc(std::size_t Size) {
  void* p = ShellMalloc()->Alloc(Size);
  if (!p) throw vcl::EOutOfMemory(L"Out of memory");
  std::memset(p, 0, Size);
  return p;
}

void ShellFree(void* P) {
  if (!P) return;
  ComPtr<IMalloc> malloc;
  if (SUCCEEDED(SHGetMalloc(&malloc))) malloc->Free(P);
}

LPCITEMIDLIST NextID(LPCITEMIDLIST P) {
  return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(P) + ItemLength(P));
}

UINT PidlSize(LPCITEMIDLIST P) {
  if (!P) return 0;
  UINT size = sizeof(USHORT);
  for (; ItemLength(P) != 0; P = NextID(P)) size += ItemLength(P);
  return size;
}

TqvPidl CopyPidl(LPCITEMIDLIST P) {
  const UINT size = PidlSize(P);
  if (size == 0) return nullptr;
  TqvPidl copy(static_cast<ITEMIDLIST*>(ShellAlloc(size)));
  std::memcpy(copy.get(), P, size);
  return copy;
}

TqvPidl ConcatPidls(LPCITEMIDLIST A, LPCITEMIDLIST B) {
  const UINT first = A ? PidlSize(A) - sizeof(USHORT) : 0;
  const UINT second = B ? PidlSize(B) : sizeof(USHORT);
  TqvPidl joined(static_cast<ITEMIDLIST*>(ShellAlloc(first + second)));
  auto* bytes = reinterpret_cast<BYTE*>(joined.get());
  if (first) std::memcpy(bytes, A, first);
  if (B) std::memcpy(bytes + first, B, second);  // else the zeroed terminator stays
  return joined;
}

ComPtr<IShellFolder> GetDesktopFolder() {
  ComPtr<IShellFolder> folder;
  vcl::OleCheck(SHGetDesktopFolder(&folder));
  return folder;
}

TqvPidl GetDesktopPidl() {
  LPITEMIDLIST pidl = nullptr;
  vcl::OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl));
  return TqvPidl(pidl);
}

TqvShellFolder::TqvShellFolder(TqvShellFolder* Parent, IShellFolder* Folder, LPCITEMIDLIST ID)
    : relative_id_(CopyPidl(ID)),
      parent_(Parent ? Parent : DesktopFolder()),
      shell_folder_(Folder),
      items_(std::make_unique<vcl::TStringList>()) {
  if (Parent) {
    absolute_id_ = ConcatPidls(Parent->AbsoluteID(), ID);
    for (const TqvShellFolder* p = Parent->Parent(); p; p = p->Parent()) ++level_;
  } else {
    const TqvPidl desktop = GetDesktopPidl();
    absolute_id_ = ConcatPidls(desktop.get(), ID);
  }
}

TqvShellFolder::~TqvShellFolder() = default;

namespace {

// The system's list is made on first use: asking the shell for it takes tens of
// milliseconds, and programs start without needing it.
void MakeSystemImages() {
  TShellSupport& s = Support();
  if (s.SystemListAsked || s.Starts == 0) return;
  s.SystemListAsked = true;
  SHFILEINFOW info{};
  s.SystemList = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (s.SystemList && !s.SystemImages) {
    s.SystemImages.reset(vcl::Construct<TsAlphaImageList>(nullptr));
    s.SystemImages->BeginUpdate();
    s.SystemImages->SetShareImages(true);  // the system's list: never destroyed by us
    s.SystemImages->SetHandle(s.SystemList);
    s.SystemImages->EndUpdate(true);
    ImageList_SetBkColor(s.SystemList, CLR_NONE);
  }
}

}  // namespace

TqvShellFolder* DesktopFolder() { return Support().Desktop.get(); }
HIMAGELIST SystemImageListHandle() {
  MakeSystemImages();
  return Support().SystemList;
}
TsAlphaImageList* SystemImages() {
  MakeSystemImages();
  return Support().SystemImages.get();
}
CRITICAL_SECTION& ShellFolderLock() { return Support().Lock; }

void StartShellSupport() {
  TShellSupport& s = Support();
  if (++s.Starts != 1) return;
  s.SystemListAsked = false;
  LPITEMIDLIST desktop = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)) && desktop) {
    const TqvPidl owned(desktop);
    ComPtr<IShellFolder> folder;
    if (SUCCEEDED(SHGetDesktopFolder(&folder))) s.Desktop = std::make_unique<TqvShellFolder>(nullptr, folder.Get(), nullptr);
  }
  InitializeCriticalSection(&s.Lock);
  s.Ole = std::make_unique<TqvOleScope>();
}

void StopShellSupport() {
  TShellSupport& s = Support();
  if (s.Starts == 0 || --s.Starts != 0) return;
  // Every shell object goes before OLE does.
  s.Desktop.reset();
  s.SystemImages.reset();
  s.SystemList = nullptr;
  s.SystemListAsked = false;
  DeleteCriticalSection(&s.Lock);
  s.Ole.reset();
}

void RegisterPipetteCursor() {
  const HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), L"CRASPIPETTE");
  if (!cursor) return;
  if (vcl::Screen)
    vcl::Screen->SetCursors(crPipette, cursor);
  else
    vcl::RegisterCursor(crPipette, cursor);
}

}  // namespace skin_layered
