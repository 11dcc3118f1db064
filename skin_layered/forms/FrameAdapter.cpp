#include "skin_layered/forms/FrameAdapter.h"

#include <algorithm>
#include <utility>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TsFrameAdapter) {}

namespace {

constexpr wchar_t kFrameSection[] = L"GROUPBOX";
constexpr UINT kRedrawFrame = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

bool Designing(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDesigning); }
bool BeingDestroyed(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDestroying); }

vcl::TComponent* CheckedFrame(vcl::TComponent* AOwner) {
  if (!dynamic_cast<vcl::TCustomFrame*>(AOwner)) {
    const vcl::String& text = LibString(TqvLibString::FrameAdapterOnFrame);
    throw vcl::Exception(text.empty() ? vcl::String(L"TsFrameAdapter adapter must be placed on the handled frame")
                                      : text);
  }
  return AOwner;
}

// own + t * (parent - own) / 256 per byte; 100 and more the parent's outright.
vcl::TColor Blend(vcl::TColor Own, vcl::TColor Parent, int Transparency) {
  if (Transparency >= 100) return Parent;
  vcl::TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int own = static_cast<int>((Own >> shift) & 0xFF);
    const int parent = static_cast<int>((Parent >> shift) & 0xFF);
    const int mixed = std::clamp(own + Transparency * (parent - own) / 256, 0, 255);
    result |= static_cast<vcl::TColor>(mixed) << shift;
  }
  return result;
}

}  // namespace

TsFrameAdapter::TsFrameAdapter(vcl::TComponent* AOwner) : TComponent(CheckedFrame(AOwner)) {
  frame_ = static_cast<vcl::TCustomFrame*>(AOwner);
  skin_data_ = std::make_unique<TsScrollWndData>(frame_, true);
  if (skin_data_->SkinSection().empty() || skin_data_->SkinSection() == vcl::String(L"TSFRAMEADAPTER"))
    skin_data_->SetSkinSection(kFrameSection);
  skin_data_->COC = kFrameControlCode;
  hook_.Install(frame_, vcl::TWndMethod::Bind<&TsFrameAdapter::WndProc>(this));
}

TsFrameAdapter::~TsFrameAdapter() {
  // The scroll adapter's hook lies above this one: it leaves the chain first.
  FreeScrolls();
  // The frame's procedure goes back only while this hook is on top; under a later hook the
  // adapter just leaves the chain, and the later one keeps working.
  hook_.Remove();
  skin_data_.reset();
}

void TsFrameAdapter::AfterConstruction() {
  TComponent::AfterConstruction();
  if (frame_->HandleAllocated() && SendCommandToWnd(frame_->Handle(), scmIsSkinned, 0) == 1) {
    vcl::TMessage m = SkinCommandMessage(scmNewSkin, reinterpret_cast<LPARAM>(Manager()));
    frame_->Perform(m.Msg, m.WParam, m.LParam);
  }
}

void TsFrameAdapter::Loaded() {
  TComponent::Loaded();
  TsSkinManager* manager = Manager();
  if (!manager || !Skinned()) return;
  skin_data_->UpdateIndexes(true);
  if (!manager->Active() || manager->Designing()) return;
  OwnerDrawPopups(true);
  if (manager->SkinningRules().Contains(srThirdParty)) NotifyFormOfControl(frame_);
}

TsSkinManager* TsFrameAdapter::Manager() const { return skin_data_ ? skin_data_->GetSkinManager() : nullptr; }

bool TsFrameAdapter::Skinned() const { return skin_data_ && skin_data_->Skinned(); }

void TsFrameAdapter::PassToChildren(vcl::TMessage& Message) {
  vcl::TMessage copy = Message;
  BroadcastCommand(frame_, copy);
}

void TsFrameAdapter::OwnerDrawPopups(bool Skinned) {
  TsSkinManager* manager = Manager();
  auto* menus = manager ? dynamic_cast<TsSkinableMenus*>(manager->SkinableMenus()) : nullptr;
  if (!menus) return;
  for (int i = 0; i < frame_->ComponentCount(); ++i)
    if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(frame_->Components(i)))
      menus->SetMenuOwnerDraw(popup, Skinned && manager->SkinnedPopups());
}

void TsFrameAdapter::RefreshScrolls() {
  const vcl::TComponentState& state = frame_->ComponentState();
  if (state.Contains(vcl::csLoading) || state.Contains(vcl::csDestroying) || state.Contains(vcl::csDesigning) ||
      BeingDestroyed(this))
    return;
  if (Skinned() && frame_->HandleAllocated()) {
    if (scroll_adapter_ && AdapterServices().AdapterDestroyed(scroll_adapter_)) FreeScrolls();
    if (!scroll_adapter_)
      scroll_adapter_ = AdapterServices().CreateFrameScrollAdapter(frame_->Handle(), Manager(), skin_data_.get());
  } else {
    FreeScrolls();
  }
}

void TsFrameAdapter::FreeScrolls() {
  if (vcl::TObject* adapter = std::exchange(scroll_adapter_, nullptr)) vcl::TObject::Free(adapter);
}

void TsFrameAdapter::Redraw(UINT Flags) {
  if (frame_->HandleAllocated()) RedrawWindow(frame_->Handle(), nullptr, nullptr, Flags);
}

// ---------------------------------------------------------------------------------------
// Painting

bool TsFrameAdapter::PrepareCache() {
  if (!Skinned() || !frame_->HandleAllocated()) return false;
  TsCommonData* data = skin_data_.get();
  TqvCacheInfo behind;
  data->FillParentBg(behind);
  // A parent that could not answer yet: painted once it can.
  if (!behind.Ready && behind.FillColor == 0xFF00FF && !behind.Bmp) return false;
  data->InitCacheBmp();
  vcl::TBitmap* cache = data->CacheBmp();
  cache->SetSize(frame_->Width(), frame_->Height());
  // The parent answers for its own corner; what lies behind the frame starts at its place.
  PaintItem(data->ControlSkin(), behind, 0, vcl::TRect{0, 0, frame_->Width(), frame_->Height()},
            vcl::TPoint{frame_->Left(), frame_->Top()}, cache, true);
  data->BGChanged = false;
  return true;
}

void TsFrameAdapter::PaintFrame(HDC DC) {
  if (!DC) return;
  TsCommonData* data = skin_data_.get();
  if (!Skinned()) return;
  vcl::TBitmap* cache = data->CacheBmp();
  if (data->BGChanged || !cache || cache->Width() != frame_->Width() || cache->Height() != frame_->Height()) {
    if (!PrepareCache()) {
      data->Updating = true;
      return;
    }
    cache = data->CacheBmp();
  }
  BitBlt(DC, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  PaintControlsOnDC(DC, frame_, vcl::TPoint{0, 0}, true);
}

vcl::TColor TsFrameAdapter::BackgroundColor(std::uint16_t State) {
  if (!Skinned()) return vcl::ColorToRGB(frame_->Color());
  const TsGeneralData* section = skin_data_->Section();
  if (!section) return vcl::ColorToRGB(frame_->Color());
  if (skin_data_->IsCached()) {
    if (State & 2) frame_->Invalidate();
    return kNoColorAnswer;
  }
  const int transparency = section->Props[0].Transparency;
  const vcl::TColor own = vcl::ColorToRGB(section->Props[0].Color);
  if (transparency == 0) return own;
  vcl::TColor parent = vcl::clBtnFace;
  if (vcl::TWinControl* p = frame_->Parent()) {
    parent = vcl::ColorToRGB(p->Color());
    if (p->HandleAllocated()) {
      const vcl::TColor answer = GetWndColor(p->Handle());
      if (answer != kNoColorAnswer) parent = answer;
    }
  }
  return Blend(own, vcl::ColorToRGB(parent), transparency);
}

// ---------------------------------------------------------------------------------------
// The frame's messages

bool TsFrameAdapter::FirstCommand(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  const bool own = manager && reinterpret_cast<TsSkinManager*>(Message.LParam) == manager;
  switch (SkinCommandOf(Message.WParam)) {
    case scmBeforeRefresh:
      PassToChildren(Message);
      return false;
    case scmNewSkin:
      if (!own) return false;
      PassToChildren(Message);
      CommonWndProc(Message, skin_data_.get());
      OwnerDrawPopups(true);
      RefreshScrolls();
      return true;
    case scmRemoveSkin:
      if (!own) return false;
      CommonWndProc(Message, skin_data_.get());
      // The system's own bars come back before the frame is laid out again.
      RefreshScrolls();
      skin_data_->DropCache();
      if (frame_->HandleAllocated())
        SetWindowPos(frame_->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      OwnerDrawPopups(false);
      Redraw(kRedrawFrame);
      PassToChildren(Message);
      return true;
    case scmRefresh:
      if (!own) return false;
      CommonWndProc(Message, skin_data_.get());
      skin_data_->UpdateIndexes(true);
      skin_data_->BGChanged = true;
      PassToChildren(Message);
      Redraw(kRedrawFrame);
      RefreshScrolls();
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmPrepareCache:
      if (!skin_data_->BgIsChanged() && !PrepareCache()) skin_data_->Updating = true;
      return true;
    case scmGetSkinIndex:
      if (Message.LParam) *reinterpret_cast<int*>(Message.LParam) = skin_data_->SkinIndex;
      return true;
    case scmBeforeScroll:
    case scmAfterScroll:
      if (frame_->HandleAllocated() && (Skinned() || skin_data_->BgDependsOnParent())) {
        if (SkinCommandOf(Message.WParam) == scmBeforeScroll) {
          SendMessageW(frame_->Handle(), WM_SETREDRAW, 0, 0);
        } else {
          SendMessageW(frame_->Handle(), WM_SETREDRAW, 1, 0);
          Redraw(RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        }
      }
      return true;
    default:
      return false;
  }
}

void TsFrameAdapter::SkinnedCommand(vcl::TMessage& Message) {
  TsCommonData* data = skin_data_.get();
  switch (SkinCommandOf(Message.WParam)) {
    case scmRepaint:
      if (data->Updating && !(data->CtrlSkinState & kStatePrintDC)) {
        data->Updating = false;
        Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RepaintChildControls(frame_);
      } else if (Message.WParamLo() & 1) {
        RepaintChildControls(frame_);
      }
      return;
    case scmSetUpdating:
      data->Updating = Message.WParamLo() == 1;
      PassToChildren(Message);
      return;
    case scmIsReady: {
      const TsGeneralData* section = data->Section();
      Message.Result = (section && section->Props[0].GradientPercent + section->Props[0].ImagePercent > 0) ||
                               data->BgDependsOnParent()
                           ? 1
                           : 0;
      return;
    }
    case scmGetColor:
      Message.Result = static_cast<LRESULT>(BackgroundColor(Message.WParamLo()));
      return;
    default:
      if (!CommonWndProc(Message, data)) hook_.CallPrevious(Message);
      return;
  }
}

void TsFrameAdapter::WndProc(vcl::TMessage& Message) {
  if (Designing(this)) return hook_.CallPrevious(Message);
  if (Message.Msg == kSkinCmdMessage && FirstCommand(Message)) return;
  TsSkinManager* manager = Manager();
  if (BeingDestroyed(this) || BeingDestroyed(frame_) || !Skinned() || !manager->Active())
    return UnskinnedMessage(Message);
  switch (Message.Msg) {
    case kSkinCmdMessage: return SkinnedCommand(Message);
    case vcl::CM_VISIBLECHANGED: return OnVisibleChanged(Message);
    case vcl::CM_SHOWINGCHANGED: return OnShowingChanged(Message);
    case WM_PRINTCLIENT: return OnPrintClient(Message);
    case vcl::CM_CONTROLLISTCHANGE: return OnControlListChange(Message);
    case WM_PARENTNOTIFY: return OnParentNotify(Message);
    case WM_ERASEBKGND: return OnEraseBkgnd(Message);
    case WM_PAINT: return OnPaint(Message);
    case WM_NCPAINT: Message.Result = 0; return;
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED: return OnPlaceChanged(Message);
    default: return hook_.CallPrevious(Message);
  }
}

void TsFrameAdapter::UnskinnedMessage(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (manager && manager->Active() && frame_->HandleAllocated() &&
      (Message.Msg == vcl::CM_VISIBLECHANGED || Message.Msg == vcl::CM_CONTROLLISTCHANGE)) {
    skin_data_->UpdateIndexes(true);
    frame_->Invalidate();
    vcl::TMessage skin = SkinCommandMessage(scmNewSkin, reinterpret_cast<LPARAM>(manager), 1);
    BroadcastCommand(frame_, skin);
  }
  if (Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == scmGetColor) {
    Message.Result = static_cast<LRESULT>(vcl::ColorToRGB(frame_->Color()));
    return;
  }
  hook_.CallPrevious(Message);
}

void TsFrameAdapter::OnVisibleChanged(vcl::TMessage& Message) {
  skin_data_->BGChanged = true;
  frame_->Invalidate();
  hook_.CallPrevious(Message);
}

// The frame's window shows: a window made anew (its scroll adapter let the old one go) gets its
// skinned bars too.
void TsFrameAdapter::OnShowingChanged(vcl::TMessage& Message) {
  hook_.CallPrevious(Message);
  if (Message.WParam && frame_->HandleAllocated()) RefreshScrolls();
}

void TsFrameAdapter::OnPrintClient(const vcl::TMessage& Message) {
  skin_data_->Updating = false;
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PaintFrame(dc);
  if (dc && scroll_adapter_) AdapterServices().PaintScrollBars(scroll_adapter_, dc);
}

void TsFrameAdapter::OnControlListChange(vcl::TMessage& Message) {
  skin_data_->UpdateIndexes(true);
  frame_->Invalidate();
  hook_.CallPrevious(Message);
}

void TsFrameAdapter::OnParentNotify(vcl::TMessage& Message) {
  hook_.CallPrevious(Message);
  const bool made = Message.WParamLo() == WM_CREATE;
  if ((!made && Message.WParamLo() != WM_DESTROY) || frame_->ComponentState().Contains(vcl::csLoading)) return;
  // A window made inside the frame: the form's provider wraps it.
  if (made && Manager()->SkinningRules().Contains(srThirdParty)) NotifyFormOfControl(frame_);
  // The frame's range may have changed with the child.
  if (scroll_adapter_) AdapterServices().UpdateScrolls(scroll_adapter_, true);
}

void TsFrameAdapter::OnEraseBkgnd(vcl::TMessage& Message) {
  if (frame_->Showing() && !(skin_data_->CtrlSkinState & kStatePrintDC))
    PaintFrame(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

void TsFrameAdapter::OnPaint(vcl::TMessage& Message) {
  if (!frame_->Parent() || !frame_->HandleAllocated()) return hook_.CallPrevious(Message);
  Message.Result = 0;
  if (Message.WParam) return PaintFrame(reinterpret_cast<HDC>(Message.WParam));
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(frame_->Handle(), &ps);
  PaintFrame(dc);
  EndPaint(frame_->Handle(), &ps);
}

// WM_SIZE, WM_MOVE, WM_WINDOWPOSCHANGED: the children learn of a background that changed.
void TsFrameAdapter::OnPlaceChanged(vcl::TMessage& Message) {
  TsCommonData* data = skin_data_.get();
  if (Message.Msg == WM_SIZE || data->BgDependsOnParent()) {
    data->BGChanged = true;
    vcl::TMessage changed = SkinCommandMessage(scmBgChanged, 0, 1);
    for (int i = 0; i < frame_->ControlCount(); ++i)
      if (auto* child = dynamic_cast<vcl::TWinControl*>(frame_->Controls(i)); child && child->HandleAllocated())
        SendMessageW(child->Handle(), changed.Msg, changed.WParam, changed.LParam);
  }
  if (Message.Msg != WM_MOVE && data->BGChanged) frame_->Invalidate();
  hook_.CallPrevious(Message);
}

}  // namespace skin_layered
