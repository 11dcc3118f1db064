#include "classlib/ole/OleBrowserHost.h"

#include <atomic>

namespace vcl {

using Microsoft::WRL::ComPtr;

namespace {

// An owned BSTR.
class BStr {
 public:
  explicit BStr(StringView text) : str_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  BStr() = default;
  ~BStr() { SysFreeString(str_); }
  BStr(const BStr&) = delete;
  BStr& operator=(const BStr&) = delete;
  BSTR Get() const { return str_; }
  BSTR* Out() {
    SysFreeString(str_);
    str_ = nullptr;
    return &str_;
  }
  String ToString() const { return str_ ? String(str_, SysStringLen(str_)) : String(); }

 private:
  BSTR str_ = nullptr;
};

// An empty optional argument.
struct EmptyVariant : VARIANT {
  EmptyVariant() { VariantInit(this); }
};

}  // namespace

// The container side the control talks to: client site, in-place site and in-place frame in
// one object. It holds no pointer back to the host, so a control that keeps a reference to
// it after the host is gone finds a consistent (if idle) site.
class OleBrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  OleBrowserSite(HWND parent, const RECT& bounds) : parent_(parent), bounds_(bounds) {}

  void SetBounds(const RECT& bounds) { bounds_ = bounds; }
  void SetInPlaceObject(IOleInPlaceObject* object) { inPlace_ = object; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite: no persistence, no container enumeration.
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = parent_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;  // the frame serves as the document window too
    *pos = bounds_;
    *clip = bounds_;
    info->fMDIApp = FALSE;
    info->hwndFrame = parent_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override {
    inPlace_ = nullptr;
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  // The container decides the size: answer a request with the bounds we were given.
  STDMETHODIMP OnPosRectChange(LPCRECT) override {
    if (inPlace_) inPlace_->SetObjectRects(&bounds_, &bounds_);
    return S_OK;
  }

  // IOleInPlaceUIWindow: no toolbars, no borders.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame: no shared menus, status bar or accelerators.
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~OleBrowserSite() = default;

  std::atomic<ULONG> refs_{1};
  HWND parent_;
  RECT bounds_;
  // Not owned: the host owns the in-place object and clears this before releasing it.
  IOleInPlaceObject* inPlace_ = nullptr;
};

OleBrowserHost::OleThreadInit::OleThreadInit() {
  // S_FALSE (already initialised on this thread) also takes a reference to balance.
  ok_ = SUCCEEDED(OleInitialize(nullptr));
}

OleBrowserHost::OleThreadInit::~OleThreadInit() {
  if (ok_) OleUninitialize();
}

OleBrowserHost::OleBrowserHost(HWND parent, const RECT& bounds) : bounds_(bounds) {
  if (!ole_.Ok() || !parent) return;
  if (!Create(parent)) Destroy();
}

OleBrowserHost::~OleBrowserHost() { Destroy(); }

bool OleBrowserHost::Create(HWND parent) {
  site_.Attach(new OleBrowserSite(parent, bounds_));
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object_))))
    return false;
  if (FAILED(object_->SetClientSite(static_cast<IOleClientSite*>(site_.Get())))) return false;
  if (FAILED(object_.As(&browser_))) return false;
  // Before anything loads: a page must never stop the program with a dialog.
  browser_->put_Silent(VARIANT_TRUE);
  RECT pos = bounds_;
  if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_.Get()),
                             0, parent, &pos)))
    return false;
  if (FAILED(object_.As(&inPlace_))) return false;
  site_->SetInPlaceObject(inPlace_.Get());
  inPlace_->SetObjectRects(&bounds_, &bounds_);
  return true;
}

void OleBrowserHost::Destroy() noexcept {
  if (site_) site_->SetInPlaceObject(nullptr);
  if (browser_) browser_->Stop();
  if (inPlace_) inPlace_->InPlaceDeactivate();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  browser_.Reset();
  inPlace_.Reset();
  object_.Reset();
  site_.Reset();
}

HWND OleBrowserHost::ControlWindow() const {
  HWND wnd = nullptr;
  if (inPlace_ && SUCCEEDED(inPlace_->GetWindow(&wnd))) return wnd;
  return nullptr;
}

void OleBrowserHost::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (site_) site_->SetBounds(bounds);
  if (inPlace_) inPlace_->SetObjectRects(&bounds_, &bounds_);
}

bool OleBrowserHost::Navigate(StringView url) {
  lastUrl_.assign(url);
  if (!browser_) return false;
  BStr address(url);
  EmptyVariant flags, target, postData, headers;
  return SUCCEEDED(browser_->Navigate(address.Get(), &flags, &target, &postData, &headers));
}

bool OleBrowserHost::Refresh() { return browser_ && SUCCEEDED(browser_->Refresh()); }

String OleBrowserHost::LocationURL() const {
  if (!browser_) return {};
  BStr url;
  if (FAILED(browser_->get_LocationURL(url.Out()))) return {};
  return url.ToString();
}

}  // namespace vcl
