#include "app/Clipboard.h"

#include <cstring>
#include <utility>

namespace composer {
namespace {

// The clipboard, open for as long as the object lives.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    // Another program may hold it for a moment.
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// Movable global memory until the clipboard takes it.
class GlobalBlock {
 public:
  explicit GlobalBlock(size_t bytes) : handle_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~GlobalBlock() {
    if (handle_) GlobalFree(handle_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  HGLOBAL Get() const { return handle_; }
  HGLOBAL Release() { return std::exchange(handle_, nullptr); }

 private:
  HGLOBAL handle_;
};

}  // namespace

bool PutTextOnClipboard(HWND Owner, vcl::StringView Text) {
  const size_t bytes = (Text.size() + 1) * sizeof(wchar_t);
  GlobalBlock block(bytes);
  if (!block.Get()) return false;
  auto* target = static_cast<wchar_t*>(GlobalLock(block.Get()));
  if (!target) return false;
  std::memcpy(target, Text.data(), Text.size() * sizeof(wchar_t));
  target[Text.size()] = L'\0';
  GlobalUnlock(block.Get());

  OpenedClipboard clipboard(Owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, block.Get())) return false;
  block.Release();  // the clipboard owns it now
  return true;
}

}  // namespace composer
