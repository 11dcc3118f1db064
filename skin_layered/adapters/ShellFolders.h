// The common ground of the layered engine's shell controls: item-identifier lists (PIDLs)
// over the shell allocator, a shell folder object, the desktop folder as a process-wide
// object and the system's small-icon image list as an alpha image list. The shell support
// unit makes the process-wide objects at start-up (StartShellSupport; the image list on its
// first use) and frees them at shut-down; start-up and shut-down do their work once however
// often they are asked.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <memory>

#include "classlib/rtl/Object.h"
#include "classlib/rtl/StringList.h"

namespace skin_layered {

class TsAlphaImageList;

// Memory of the shell allocator, zero-filled; EOleSysError when the allocator cannot be had,
// EOutOfMemory when it has no memory.
void* ShellAlloc(std::size_t Size);
// Gives the memory back to the shell allocator (nil is ignored).
void ShellFree(void* P);

struct TShellFreeDeleter {
  void operator()(ITEMIDLIST* P) const { ShellFree(P); }
};
// An identifier list owned through the shell allocator.
using TqvPidl = std::unique_ptr<ITEMIDLIST, TShellFreeDeleter>;

// The item after P (P plus P's length).
LPCITEMIDLIST NextID(LPCITEMIDLIST P);
// 0 for nil, else the items' lengths plus the 2 bytes of the terminator.
UINT PidlSize(LPCITEMIDLIST P);
// A new list with P's items (nil for nil).
TqvPidl CopyPidl(LPCITEMIDLIST P);
// A new list with A's items (A may be nil) followed by all of B.
TqvPidl ConcatPidls(LPCITEMIDLIST A, LPCITEMIDLIST B);
// The desktop's folder and identifier list; EOleSysError when the shell refuses.
Microsoft::WRL::ComPtr<IShellFolder> GetDesktopFolder();
TqvPidl GetDesktopPidl();

// One folder of the shell's name space.
class TqvShellFolder : public vcl::TObject {
  VCL_CLASS(TqvShellFolder, vcl::TObject)
 public:
  // ID is the item's list relative to Parent (copied). Without a parent the folder hangs
  // below the desktop folder and its absolute list is the desktop's joined with ID.
  TqvShellFolder(TqvShellFolder* Parent, IShellFolder* Folder, LPCITEMIDLIST ID);
  ~TqvShellFolder() override;

  LPCITEMIDLIST RelativeID() const { return relative_id_.get(); }
  LPCITEMIDLIST AbsoluteID() const { return absolute_id_.get(); }
  // The given parent, else the desktop folder (nil for the desktop folder itself).
  TqvShellFolder* Parent() const { return parent_; }
  IShellFolder* ShellFolder() const { return shell_folder_.Get(); }
  // How many ancestors the given parent has; 0 without a parent.
  int Level() const { return level_; }
  vcl::TStringList* Items() const { return items_.get(); }

 private:
  TqvPidl relative_id_;
  TqvPidl absolute_id_;
  TqvShellFolder* parent_;
  Microsoft::WRL::ComPtr<IShellFolder> shell_folder_;
  int level_ = 0;
  std::unique_ptr<vcl::TStringList> items_;
};

// The desktop folder; nil before start-up, after shut-down or when the shell gave none.
TqvShellFolder* DesktopFolder();
// The system's small-icon list and the alpha image list sharing it, made on first use
// between start-up and shut-down; nil when the system gives none.
HIMAGELIST SystemImageListHandle();
TsAlphaImageList* SystemImages();
// The lock of the shell controls.
CRITICAL_SECTION& ShellFolderLock();

// OLE started for the thread while it lives, and stopped again only when its start
// succeeded (a thread in another apartment keeps its own).
class TqvOleScope {
 public:
  TqvOleScope() : started_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~TqvOleScope() {
    if (started_) OleUninitialize();
  }
  TqvOleScope(const TqvOleScope&) = delete;
  TqvOleScope& operator=(const TqvOleScope&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_;
};

// The unit's start-up and shut-down (each runs its work once for every start that went
// before); OLE is started here and stopped after every shell object is released.
void StartShellSupport();
void StopShellSupport();

// The pipette cursor of colour picking, registered at start-up as the screen's cursor -50.
inline constexpr int crPipette = -50;
void RegisterPipetteCursor();

}  // namespace skin_layered
