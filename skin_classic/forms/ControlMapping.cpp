#include "skin_classic/forms/ControlMapping.h"

#include <algorithm>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/comctrls/DateTimePicker.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/ProgressBar.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Frame.h"
#include "classlib/forms/Menus.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/rtl/TypInfo.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/SkinBitButton.h"
#include "skin_classic/controls/SkinCheckBox.h"
#include "skin_classic/controls/SkinComboBox.h"
#include "skin_classic/controls/SkinContainers.h"
#include "skin_classic/controls/SkinDateTime.h"
#include "skin_classic/controls/SkinDisplay.h"
#include "skin_classic/controls/SkinEdit.h"
#include "skin_classic/controls/SkinGroupBox.h"
#include "skin_classic/controls/SkinHeader.h"
#include "skin_classic/controls/SkinMediaPlayer.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/controls/SkinScrollbar.h"
#include "skin_classic/controls/SkinTab.h"
#include "skin_classic/controls/SkinTabSet.h"
#include "skin_classic/controls/SkinUpDown.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/forms/FormFrame.h"

namespace winskin {
namespace {

using vcl::String;
using vcl::StringView;

constexpr size_t kMaxKindLength = 50;

String Upper(StringView Text) { return vcl::UpperCase(Text); }
String Lower(StringView Text) { return vcl::LowerCase(Text); }

bool Contains(StringView Text, StringView Part) { return Text.find(Part) != StringView::npos; }

// Counts a mapping pass for its scope.
class TPassScope {
 public:
  explicit TPassScope(int& Depth) : depth_(Depth) { ++depth_; }
  ~TPassScope() { --depth_; }
  TPassScope(const TPassScope&) = delete;
  TPassScope& operator=(const TPassScope&) = delete;

 private:
  int& depth_;
};

template <class T>
bool Is(const vcl::TObject* Object) {
  return dynamic_cast<const T*>(Object) != nullptr;
}

// Graphic controls show when they are visible on a parent that shows.
bool ControlShowing(vcl::TControl* Control) {
  if (auto* w = dynamic_cast<vcl::TWinControl*>(Control)) return w->Showing();
  return Control->Visible() && Control->Parent() && Control->Parent()->Showing();
}

// The window has a scroll bar of its own (the frame's).
bool HasFrameBars(vcl::TWinControl* Control) {
  return Control->HandleAllocated() && (GetWindowLongPtrW(Control->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

// The classes the table skips as a whole (their own painting cannot be covered).
constexpr StringView kNeverMapped[] = {L"TDBCOMBOBOXEH", L"TFRDESIGNERPAGE", L"TFRPBOX"};

// Button window styles, by the bits of the type (the low four bits): owner-drawn buttons, group
// boxes, default command links and pictures draw themselves; of the rest, those without bit 2
// and without bits 1 and 4 together are pushed (without bits 1 and 8 together, nor bit 4) or
// radio buttons; all others are check boxes.
enum class TBareButton { None, Push, Check, Radio };
TBareButton BareButtonKind(LONG_PTR Style) {
  if ((Style & 11) == 11 || (Style & 7) == 7 || (Style & BS_BITMAP)) return TBareButton::None;
  if (!(Style & 2) && (Style & 5) != 5) return (Style & 9) != 9 && !(Style & 4) ? TBareButton::Push : TBareButton::Radio;
  return TBareButton::Check;
}

// A size grip or size box: a scroll bar (of the system's class, or of one made from it under
// another name) of that style, which is not a stop of the tab order. A scroll bar control keeps
// its parts.
bool IsSizeGrip(HWND Window, const String& LowerClass, LONG_PTR Style) {
  if ((Style & WS_TABSTOP) || !(Style & (SBS_SIZEGRIP | SBS_SIZEBOX))) return false;
  if (LowerClass == L"scrollbar") return true;
  // A class made from the system's keeps its window procedure.
  WNDCLASSEXW system{};
  system.cbSize = sizeof system;
  return GetClassInfoExW(nullptr, L"ScrollBar", &system) &&
         reinterpret_cast<WNDPROC>(GetClassLongPtrW(Window, GCLP_WNDPROC)) == system.lpfnWndProc;
}

}  // namespace

bool ThirdPartyKind(const vcl::TStrings* Lines, StringView ClassName, String& Kind) {
  if (!Lines || ClassName.empty()) return false;
  const String key = Lower(ClassName) + L"=";
  for (int i = 0; i < Lines->Count(); ++i) {
    const String line = Lower(Lines->Strings(i));
    if (line.compare(0, key.size(), key) != 0) continue;
    Kind = line.substr(key.size(), kMaxKindLength);
    return true;
  }
  return false;
}

VCL_CLASS_INFO(TControlMapping) {}

TControlMapping::TControlMapping(TFormFrame* Form) : TComponent(nullptr), form_(Form) {}

TControlMapping::~TControlMapping() { Restore(); }

TSkinData* TControlMapping::Skin() const { return form_->FrameSkin(); }

bool TControlMapping::Has(TSkinControlType Kind) const { return Skin()->SkinControls().Contains(Kind); }

bool TControlMapping::TabImagesPresent() const {
  TDataSkinObject* tabs = Skin()->Skin()->Element(SkinElement::Tabs);
  return tabs && tabs->HasBitmap();
}

bool TControlMapping::Skinned(vcl::TControl* Control) const {
  auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);
  const HWND window = windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
  for (TSkinControl* s : form_->Skinners()) {
    if (s->Status() == kSkinnerWindowGone) continue;
    if (s->Control() == Control || s->PaintControl() == Control || (window && s->Handle() == window)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------
// Attaching

template <class S, class... Args>
S* TControlMapping::Attach(vcl::TWinControl* Control, bool Container, Args... ExtraArgs) {
  auto* s = new S(Control, ExtraArgs...);
  s->AttachControl(form_, Skin(), Container, nullptr);
  if (!s->Attached()) {
    vcl::TObject::Free(s);
    return nullptr;
  }
  return s;
}

template <class S>
S* TControlMapping::AttachScroll(vcl::TWinControl* Control) {
  auto* s = new S(Control);
  s->AttachScrollControl(Control, Skin(), form_, nullptr);
  if (!s->Attached()) {
    vcl::TObject::Free(s);
    return nullptr;
  }
  return s;
}

template <class S>
S* TControlMapping::AttachBare(HWND Window) {
  auto* s = new S(nullptr);
  s->AttachWindow(Window, Skin(), form_, nullptr);
  if (!s->Attached()) {
    vcl::TObject::Free(s);
    return nullptr;
  }
  return s;
}

// A skinner the program's OnSkinControl made: attached its way, with its own container flag.
void TControlMapping::AttachGiven(TSkinControl* Skinner, vcl::TControl* Control) {
  for (TSkinControl* s : form_->Skinners())
    if (s == Skinner) return;
  if (auto* windowed = dynamic_cast<vcl::TWinControl*>(Control)) {
    if (auto* scroll = dynamic_cast<TSkinScrollbar*>(Skinner))
      scroll->AttachScrollControl(windowed, Skin(), form_, nullptr);
    else
      Skinner->AttachControl(form_, Skin(), Skinner->SetsColor(), nullptr);
  } else if (auto* button = dynamic_cast<TSkinButton*>(Skinner)) {
    button->AttachGraphicControl(form_, Skin(), nullptr);
  }
}

// ---------------------------------------------------------------------------------------
// A form object's controls

void TControlMapping::MapFormControls(vcl::TWinControl* FormObject) {
  if (!FormObject || !Skin()) return;
  const TPassScope pass(depth_);
  PurgeSkinners();
  std::vector<vcl::TControl*> children;
  for (int i = 0; i < FormObject->ControlCount(); ++i) children.push_back(FormObject->Controls(i));
  for (vcl::TControl* c : children) MapControl(c, FormObject);
  if (Has(xcPopupMenu) || Has(xcMenuItem)) SwitchMenus(FormObject);
  // The controls the form owns that the walk did not reach (the pages' contents).
  std::vector<vcl::TControl*> owned;
  for (int i = 0; i < FormObject->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<vcl::TControl*>(FormObject->Components(i))) owned.push_back(c);
  for (vcl::TControl* c : owned)
    if (PassesFilter(c)) MapControl(c, c->Parent());
}

bool TControlMapping::PassesFilter(vcl::TControl* Control) const {
  if (!ControlShowing(Control) || Control->Tag() == Skin()->DisableTag()) return false;
  return Control->Perform(SKM_QUERYNOSKIN, 0, 0) != 1;
}

void TControlMapping::MapChildren(vcl::TWinControl* Parent) {
  std::vector<vcl::TControl*> children;
  for (int i = 0; i < Parent->ControlCount(); ++i) children.push_back(Parent->Controls(i));
  for (vcl::TControl* c : children) MapControl(c, Parent);
}

void TControlMapping::MapControl(vcl::TControl* Control, vcl::TWinControl* Parent) {
  if (!Control || !Skin()) return;
  TSkinData* skin = Skin();
  const String className = Control->ClassName();
  auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);

  if (Control->Tag() == skin->DisableTag()) {
    // A radio or check group kept unskinned keeps all its buttons so.
    const String lower = Lower(className);
    if (windowed && windowed->ControlCount() > 0 && (Contains(lower, L"radiogroup") || Contains(lower, L"checkgroup")))
      for (int i = 0; i < windowed->ControlCount(); ++i) SetTag(windowed->Controls(i), skin->DisableTag());
    return;
  }
  if (!Control->Parent() || Control->Perform(SKM_QUERYNOSKIN, 0, 0) == 1 || Skinned(Control)) return;
  if (windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (const std::exception&) {
      return;  // a control whose window cannot be made is left alone
    }
    if (!windowed->HandleAllocated() || Skinned(Control)) return;
  }

  const TPassScope pass(depth_);

  const String upper = Upper(className);
  if (skin->OnSkinControl) {
    TSkinControl* given = nullptr;
    skin->OnSkinControl(form_->FormObject, skin, Parent, Control, upper, given);
    if (given) {
      AttachGiven(given, Control);
      if (windowed && Is<vcl::TCustomPanel>(Control)) MapChildren(windowed);
      return;
    }
  }
  if (MapThirdParty(Control, className)) return;
  for (StringView never : kNeverMapped)
    if (upper == never) return;
  MapByClass(Control, upper);
}

// The class table: rows in order, each with its test and its SkinControls member.
bool TControlMapping::MapByClass(vcl::TControl* Control, const String& Upper) {
  if (auto* speed = dynamic_cast<vcl::TSpeedButton*>(Control)) {  // row 20 (no window)
    if (!Has(xcSpeedButton)) return false;
    auto* s = new TSkinSpeedButton(speed);
    s->AttachGraphicControl(form_, Skin(), nullptr);
    return true;
  }
  auto* w = dynamic_cast<vcl::TWinControl*>(Control);
  if (!w) return false;

  if (auto* tabs = dynamic_cast<vcl::TCustomTabControl*>(w); tabs && TabImagesPresent() && Has(xcTab)) {
    auto* pages = dynamic_cast<vcl::TPageControl*>(w);
    if (!pages) {
      if (auto* s = Attach<TSkinTab>(w)) s->SetStyle(2);  // its graphic children paint again on top
    } else if (pages->Style() != vcl::tsTabs) {
      Attach<TSkinTabBtn>(w);
    } else {
      Attach<TSkinTab>(w);
    }
    return true;
  }
  if (Upper == L"TTABSET" && TabImagesPresent() && Has(xcTab)) return Attach<TSkinTab31>(w), true;
  if (Is<vcl::TTabSheet>(w) && TabImagesPresent() && Has(xcTab)) return Attach<TSkinTabSheet>(w), true;
  if (Upper == L"TTABBEDNOTEBOOK" && TabImagesPresent() && Has(xcTab)) return Attach<TSkinTab>(w), true;
  if (Upper == L"TMVCPANEL") return MapChildren(w), true;
  if ((Upper == L"TUPDOWN" || Upper == L"TSPINBUTTON") && Has(xcSpin)) return Attach<TSkinUpDown>(w), true;
  if (Upper == L"TMEDIAPLAYER" && Has(xcButton)) return Attach<TSkinMP>(w), true;
  if (Is<vcl::TCustomRadioGroup>(w) && Has(xcRadioButton)) {
    MapRadioGroup(w, false, false);
    Attach<TSkinGroupBox>(w, true);
    return true;
  }
  if (Upper == L"TDBNAVIGATOR" && Has(xcPanel)) {
    Attach<TSkinBox>(w, true);
    MapChildren(w);
    return true;
  }
  if ((Upper == L"TRZDBCHECKBOX" || Upper == L"TRZCHECKBOX") && Has(xcCheckBox)) {
    Attach<TSkinObjImage>(w, true, kGlyphsCheck);
    return true;
  }
  if ((Upper == L"TRZRADIOBUTTON" || Upper == L"TRZDBRADIOBUTTON") && Has(xcRadioButton)) {
    Attach<TSkinObjImage>(w, true, kGlyphsRadio);
    return true;
  }
  if ((Upper == L"TCXDBCHECKBOX" || Upper == L"TCXCHECKBOX") && Has(xcCheckBox)) {
    Attach<TSkinObjImage>(w, true, kGlyphsNested);
    return true;
  }
  if (Is<vcl::TCustomGroupBox>(w) && Has(xcPanel)) {
    MapChildren(w);
    Attach<TSkinGroupBox>(w);
    return true;
  }
  if (Is<vcl::TRadioButton>(w) && Has(xcRadioButton)) return Attach<TSkinRadioButton>(w), true;
  if (Is<vcl::TCustomCheckBox>(w) && Has(xcCheckBox)) return Attach<TSkinCheckBox>(w), true;
  if (Upper == L"TTNTCOMBOBOX" && Has(xcCombo)) return Attach<TSkinComBox>(w), true;
  if (Is<vcl::TCustomComboBox>(w) && Has(xcCombo)) return Attach<TSkinComBox>(w), true;
  if (Upper == L"TRICHEDIT" && Has(xcScrollbar)) return AttachScroll<TSkinScrollbar>(w), true;
  if ((Upper == L"TWWDBRICHEDIT" || Upper == L"TDXDBMEMO") && Has(xcScrollbar)) return AttachScroll<TSkinScrollbar>(w), true;
  if (Is<vcl::TBitBtn>(w)) {  // without its member a bit button stays as it is
    if (Has(xcBitBtn)) Attach<TSkinBitButton>(w);
    return true;
  }
  if (Is<vcl::TCustomPanel>(w) && Has(xcPanel)) {
    MapChildren(w);
    Attach<TSkinBox>(w, true);
    return true;
  }
  if ((Upper == L"TDXTREELIST" || Upper == L"TDXDBTREELIST" || Upper == L"TDXDBGRID") && Has(xcScrollbar))
    return AttachScroll<TSkinScrollbar>(w), true;
  if (MapLibraryClass(w)) return true;
  if (Is<vcl::TCustomListView>(w) && Has(xcScrollbar)) return AttachScroll<TSkinListView>(w), true;
  if (Is<vcl::TCustomMemo>(w) && Has(xcScrollbar)) return AttachScroll<TSkinScrollbar>(w), true;
  // A list box shows its bar only once its items need one, which may be after the mapping.
  if (Is<vcl::TCustomListBox>(w) && Has(xcScrollbar)) return AttachScroll<TSkinScrollbar>(w), true;
  if ((HasFrameBars(w) || Is<vcl::TMemo>(w)) && Has(xcScrollbar)) return AttachScroll<TSkinScrollbar>(w), true;
  if (Is<vcl::TButton>(w) && Has(xcButton)) return Attach<TSkinButton>(w), true;
  if (Is<vcl::TCustomEdit>(w) && Has(xcEdit)) return Attach<TSkinEdit>(w), true;
  if (Upper != L"TDCEDIT" && Upper != L"TDCDBEDIT") {
    if (Is<vcl::TCustomForm>(w)) MapEmbeddedForm(w);
    return true;
  }
  switch (GetOrdPropByName(w, L"NumButtons")) {
    case 1:
      if (Has(xcCombo)) Attach<TSkinComBox>(w);
      break;
    case 0:
      if (Has(xcEdit)) AttachBare<TSkinEdit>(w->Handle());
      break;
    default: break;
  }
  return true;
}

// Classes of the class library the table leaves to us: each gets the skinner made for its
// kind, under the member of that kind.
bool TControlMapping::MapLibraryClass(vcl::TWinControl* w) {
  if (Is<vcl::THeaderControl>(w)) {
    if (Has(xcTab)) Attach<TSkinHeader>(w);
    return true;
  }
  if (Is<vcl::TTrackBar>(w)) {
    if (Has(xcTrackBar)) Attach<TSkinTrackBar>(w);
    return true;
  }
  if (Is<vcl::TProgressBar>(w)) {
    if (Has(xcProgress)) Attach<TSkinProgress>(w);
    return true;
  }
  if (Is<vcl::TStatusBar>(w)) {
    if (Has(xcStatusBar)) Attach<TSkinStatusBar>(w);
    return true;
  }
  if (Is<vcl::TDateTimePicker>(w)) {
    if (Has(xcCombo)) Attach<TSkinDateTime>(w);
    return true;
  }
  if (auto* bar = dynamic_cast<vcl::TToolBar*>(w)) {
    if (Has(xcToolbar)) MapToolBar(bar);
    return true;
  }
  if (Is<vcl::TScrollBar>(w)) {
    if (Has(xcScrollbar)) {
      auto* s = new TSkinScControl(w);
      s->AttachScrollBar(w, Skin(), form_, nullptr);
      if (!s->Attached()) vcl::TObject::Free(s);
    }
    return true;
  }
  if (Is<vcl::TCustomFrame>(w)) {  // a container like an embedded form
    MapEmbeddedForm(w);
    return true;
  }
  if (Is<vcl::TScrollBox>(w)) {
    if (Has(xcScrollbar)) AttachScroll<TSkinScrollbar>(w);
    MapChildren(w);
    return true;
  }
  return false;
}

// A radio group's buttons, then the group as a container. ImageButtons: the buttons take the
// skin's frames as glyphs; CheckButtons: a check group's.
void TControlMapping::MapRadioGroup(vcl::TWinControl* Group, bool ImageButtons, bool CheckButtons) {
  std::vector<vcl::TControl*> buttons;
  for (int i = 0; i < Group->ControlCount(); ++i) buttons.push_back(Group->Controls(i));
  for (vcl::TControl* c : buttons) {
    auto* b = dynamic_cast<vcl::TWinControl*>(c);
    if (!b || Skinned(b) || b->Perform(SKM_QUERYNOSKIN, 0, 0) == 1) continue;
    if (!b->HandleAllocated()) {
      try {
        b->HandleNeeded();
      } catch (const std::exception&) {
        continue;
      }
    }
    if (ImageButtons) {
      Attach<TSkinObjImage>(b, true, CheckButtons ? kGlyphsCheck : kGlyphsRadio);
    } else if (CheckButtons) {
      Attach<TSkinCheckBox>(b);
    } else {
      Attach<TSkinRadioButton>(b);
    }
  }
}

void TControlMapping::MapEmbeddedForm(vcl::TWinControl* Form) {
  Attach<TSkinBox>(Form, true);
  MapFormControls(Form);
}

void TControlMapping::MapToolBar(vcl::TToolBar* ToolBar) {
  SetProperty(ToolBar, L"Flat", L"True");
  SavedToolBar saved{ToolBar, false, false};
  if (!ToolBar->OnCustomDraw) {
    ToolBar->OnCustomDraw = vcl::TTBCustomDrawEvent::Bind<&TFormFrame::DrawToolbarBackground>(form_);
    saved.Background = true;
  }
  if (!ToolBar->OnCustomDrawButton) {
    ToolBar->OnCustomDrawButton = vcl::TTBCustomDrawBtnEvent::Bind<&TFormFrame::DrawToolbarButton>(form_);
    saved.Buttons = true;
  }
  if (saved.Background || saved.Buttons) {
    Watch(ToolBar);
    tool_bars_.push_back(saved);
  }
  Attach<TSkinBox>(ToolBar);
  ToolBar->Invalidate();
}

// ---------------------------------------------------------------------------------------
// The Skin3rd kinds

bool TControlMapping::MapThirdParty(vcl::TControl* Control, const String& ClassName) {
  String kind;
  if (!ThirdPartyKind(Skin()->Skin3rd(), ClassName, kind)) return false;
  auto* w = dynamic_cast<vcl::TWinControl*>(Control);
  if (kind == L"nil") return true;
  const bool png = kind == L"pngspeedbutton";
  if (png || kind == L"speedbutton") {
    // Speed buttons have no window; a windowed control named one is left as it is.
    if (!w && ((png && Has(xcButton)) || (!png && Has(xcSpeedButton)))) {
      auto* s = new TSkinSpeedButton(Control);
      if (png) s->FSpeedGlyphProperty = L"PngImage";
      s->AttachGraphicControl(form_, Skin(), nullptr);
    }
    return true;
  }
  if (!w) return true;
  const String upper = Upper(ClassName);
  if ((kind == L"combobox" || kind == L"comboboxex") && Has(xcCombo)) {
    Attach<TSkinComBox>(w);
  } else if (kind == L"edit" && Has(xcEdit)) {
    // Only an edit with a border: its window is bigger than its client area.
    RECT window{}, client{};
    GetWindowRect(w->Handle(), &window);
    GetClientRect(w->Handle(), &client);
    if (window.right - window.left != client.right || window.bottom - window.top != client.bottom) Attach<TSkinEdit>(w);
  } else if (kind == L"radiobutton" && Has(xcRadioButton)) {
    Attach<TSkinRadioButton>(w);
  } else if (kind == L"panel" && Has(xcPanel)) {
    SetProperty(w, L"Transparent", L"True");
    Attach<TSkinBox>(w);
  } else if (kind == L"trackbar" && Has(xcButton)) {
    SetProperty(w, L"Transparent", L"True");
    Attach<TSkinTrackBar>(w);
  } else if (kind == L"button" && Has(xcButton)) {
    Attach<TSkinButton>(w);
  } else if (kind == L"datetimepicker" && Has(xcCombo)) {
    Attach<TSkinDateTime>(w);
  } else if (kind == L"mediaplayer" && Has(xcButton)) {
    Attach<TSkinMP>(w);
  } else if (kind == L"bitbtn" && Has(xcButton)) {
    if (Lower(ClassName) == L"tcxbutton" && Lower(GetEnumPropName(w, L"Kind")) == L"cxbkdropdownbutton")
      Attach<TSkinMenuButton>(w);
    else
      Attach<TSkinBitButton>(w);
  } else if (kind == L"pngbitbtn" && Has(xcButton)) {
    auto* s = new TSkinBitButton(w);
    s->FGlyphProperty = L"PngImage";
    s->AttachControl(form_, Skin(), false, nullptr);
  } else if (kind == L"menubtn" && Has(xcButton)) {
    Attach<TSkinMenuButton>(w);
  } else if (kind == L"tab" && Has(xcTab) && TabImagesPresent()) {
    Attach<TSkinTab>(w);
  } else if (kind == L"progress" && Has(xcProgress)) {
    Attach<TSkinProgress>(w);
  } else if (kind == L"scrollbar" && Has(xcScrollbar)) {
    AttachScroll<TSkinScrollbar>(w);
    MapChildren(w);
  } else if (kind == L"singlescrollbar" && Has(xcScrollbar)) {
    auto* s = new TSkinScrollbar(w);
    s->SetStyle(1);  // a single bar without the skinned border
    s->AttachScrollControl(w, Skin(), form_, nullptr);
  } else if (kind == L"embedscrollbar" && Has(xcScrollbar)) {
    for (int i = 0; i < w->ControlCount(); ++i)
      if (auto* child = dynamic_cast<vcl::TWinControl*>(w->Controls(i)); child && HasFrameBars(child) && !Skinned(child))
        AttachScroll<TSkinScrollbar>(child);
  } else if (kind == L"container") {
    MapChildren(w);
  } else if (kind == L"groupbox" && Has(xcGroupBox)) {
    Attach<TSkinGroupBox>(w);
  } else if (kind == L"advpagecontrol" && Has(xcTab)) {
    auto* s = new TSkinAdvPage(w);
    s->FPageKind = 4;
    s->AttachControl(form_, Skin(), false, nullptr);
  } else if (kind == L"radiogroup" && Has(xcGroupBox)) {
    if (Has(xcRadioButton)) MapRadioGroup(w, Contains(upper, L"TRZ"), false);
    Attach<TSkinGroupBox>(w, true);
  } else if (kind == L"checkgroup" && Has(xcPanel)) {
    if (Has(xcRadioButton)) MapRadioGroup(w, Contains(upper, L"TRZ"), true);
    if (Has(xcGroupBox)) Attach<TSkinGroupBox>(w, true);
  } else if (kind == L"checkbox" && Has(xcCheckBox)) {
    Attach<TSkinCheckBox>(w);
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Foreign windows

void TControlMapping::MapWindowChildren(HWND Window) {
  if (!Skin()) return;
  const TPassScope pass(depth_);
  std::vector<HWND> children;
  for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) children.push_back(child);
  for (HWND child : children)
    if (IsWindow(child)) MapWindow(child);
}

void TControlMapping::MapWindow(HWND Window) {
  if (!Skin() || !IsWindow(Window) || form_->FindSkinner(Window)) return;
  const String cls = WindowClassLower(Window);
  const LONG_PTR style = GetWindowLongPtrW(Window, GWL_STYLE);
  if (cls == L"button") {
    switch (BareButtonKind(style)) {
      case TBareButton::Push:
        if (Has(xcButton)) AttachBare<TSkinButton>(Window);
        break;
      case TBareButton::Check:
        if (Has(xcCheckBox)) AttachBare<TSkinCheckBox>(Window);
        break;
      case TBareButton::Radio:
        if (Has(xcRadioButton)) AttachBare<TSkinRadioButton>(Window);
        break;
      case TBareButton::None: break;
    }
  } else if (cls == L"combobox") {
    if (Has(xcCombo) && (style & 3) != CBS_SIMPLE) AttachBare<TSkinComBox>(Window);
  } else if (cls == L"comboboxex32") {
    HWND combo = GetWindow(Window, GW_CHILD);
    if (Has(xcCombo) && combo && !form_->FindSkinner(combo)) AttachBare<TSkinComBox>(combo);
  } else if (IsSizeGrip(Window, cls, style)) {
    AttachBare<TSkinSizer>(Window);
  } else if (cls == L"systreeview32") {
    // left as it is
  } else if (cls == L"#32770") {
    if (!(style & 0x10000)) {
      MapWindowChildren(Window);
      AttachBare<TSkinBoxH>(Window);
    }
  } else if (cls == L"tpanel" || cls == L"ttntpanel.unicodeclass" || cls == L"ttntsilentpaintpanel.unicodeclass") {
    MapWindowChildren(Window);
    if (vcl::TWinControl* panel = TSkinManage::FindFormObject(Window))
      SetProperty(panel, L"Color", std::to_wstring(Skin()->Skin()->Color(skin_classic::kColourButtonFace)));
  } else if (cls == L"tsilentpaintpanel") {
    if (vcl::TWinControl* panel = TSkinManage::FindFormObject(Window))
      SetProperty(panel, L"Color", std::to_wstring(Skin()->Skin()->Color(skin_classic::kColourButtonFace)));
  } else if (cls == L"tcheckbox") {
    if (Has(xcCheckBox)) AttachBare<TSkinCheckBox>(Window);
  } else if (cls == L"tcombobox") {
    if (Has(xcCombo)) AttachBare<TSkinComBox>(Window);
  } else if (cls == L"tbutton") {
    if (Has(xcButton)) AttachBare<TSkinButton>(Window);
  } else if (cls == L"tprogressbar") {
    AttachBare<TSkinProgress>(Window);
  } else if (cls == L"systabcontrol32") {
    if (Has(xcTab) && !(style & TCS_OWNERDRAWFIXED)) AttachBare<TSkinTab>(Window);
  } else if (cls == L"toolbarwindow32") {
    AttachBare<TSkinBoxH>(Window);
  } else if (cls == L"edit") {
    if (Has(xcEdit)) AttachBare<TSkinEdit>(Window);
  }
}

// ---------------------------------------------------------------------------------------
// Skinners of gone windows; re-created controls

void TControlMapping::PurgeSkinners() {
  std::vector<TSkinControl*> gone;
  for (TSkinControl* s : form_->Skinners())
    if (s->Status() == kSkinnerWindowGone) gone.push_back(s);
  for (TSkinControl* s : gone) {
    form_->RemoveSkinner(s);
    vcl::TObject::Free(s);
  }
}

void TControlMapping::ControlRecreated(HWND OldWindow) {
  TSkinControl* old = nullptr;
  for (TSkinControl* s : form_->Skinners())
    if (s->Handle() == OldWindow) old = s;
  if (!old) return;
  vcl::TWinControl* control = old->Control();
  const bool listView = Is<TSkinListView>(old);
  form_->RemoveSkinner(old);
  vcl::TObject::Free(old);
  if (!control || !control->HandleAllocated() || Skinned(control) || !Skin()) return;
  if (listView)
    AttachScroll<TSkinListView>(control);
  else
    AttachScroll<TSkinScrollbar>(control);
}

// ---------------------------------------------------------------------------------------
// Controls whose windows appear later

void TControlMapping::FollowNewWindows() {
  if (!link_) link_ = std::make_unique<vcl::TWindowEventLink>(vcl::TWindowEventHandler::Bind<&TControlMapping::WindowEvent>(this));
}

void TControlMapping::WindowEvent(vcl::TWinControl* Control, vcl::TWindowEvent What) {
  // The walk running now reaches the windows it makes itself.
  if (What != vcl::weCreated || Mapping() || !Control || !Skin() || !form_->FormObject) return;
  if (form_->FrameState() != TSkinFormState::Ready && form_->FrameState() != TSkinFormState::Reapplying) return;
  if (Is<vcl::TCustomForm>(Control) && !Control->Parent()) return;
  if (vcl::GetParentForm(Control) != form_->FormObject) return;
  // A control on a radio or check group kept unskinned stays unskinned too.
  if (vcl::TWinControl* parent = Control->Parent(); parent && parent->Tag() == Skin()->DisableTag()) {
    const String lower = Lower(parent->ClassName());
    if (Contains(lower, L"radiogroup") || Contains(lower, L"checkgroup")) return;
  }
  MapControl(Control, Control->Parent());
}

// ---------------------------------------------------------------------------------------
// Menus

void TControlMapping::SwitchMenus(vcl::TComponent* Root) {
  if (!Root || Root->ClassName() == L"TwwRichEditForm") return;
  std::vector<vcl::TComponent*> components;
  for (int i = 0; i < Root->ComponentCount(); ++i) components.push_back(Root->Components(i));
  for (vcl::TComponent* c : components) {
    if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(c)) {
      if (Has(xcPopupMenu) && popup->Tag() != Skin()->DisableTag()) SwitchMenu(popup, false);
    } else if (auto* main = dynamic_cast<vcl::TMainMenu*>(c)) {
      if (Has(xcMenuItem)) SwitchMenu(main, true);
    } else if (Is<vcl::TCustomFrame>(c)) {
      SwitchMenus(c);
    }
  }
  // Embedded forms are children, not components, of the form.
  if (auto* parent = dynamic_cast<vcl::TWinControl*>(Root))
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* embedded = dynamic_cast<vcl::TCustomForm*>(parent->Controls(i)); embedded && embedded->Owner() != Root)
        SwitchMenus(embedded);
}

void TControlMapping::SwitchMenu(vcl::TMenu* Menu, bool MainMenu) {
  const bool known = std::any_of(menus_.begin(), menus_.end(), [&](const SavedMenu& m) { return m.Menu == Menu; });
  if (!known) {
    menus_.push_back({Menu, Menu->OwnerDraw()});
    Watch(Menu);
  }
  PaintItems(Menu->Items(), 1, MainMenu);
  Menu->SetOwnerDraw(true);
}

// Popup items all take the skinned painting; a main menu's from depth 2 down (the bar draws
// the top level), and only those without draw events of their own.
void TControlMapping::PaintItems(vcl::TMenuItem* Parent, int Depth, bool MainMenu) {
  TSkinMenuPainter* painter = form_->MenuPainter();
  if (!Parent || !painter) return;
  for (int i = 0; i < Parent->Count(); ++i) {
    vcl::TMenuItem* item = Parent->Items(i);
    const bool ownDrawing = item->OnAdvancedDrawItem || item->OnDrawItem || item->OnMeasureItem;
    if (!painter->Paints(item) && (!MainMenu || (Depth >= 2 && !ownDrawing))) {
      items_.push_back({item, item->OnMeasureItem, item->OnAdvancedDrawItem});
      Watch(item);
      painter->Attach(item);
    }
    PaintItems(item, Depth + 1, MainMenu);
  }
}

void TControlMapping::RestoreMenus() {
  TSkinMenuPainter* painter = form_->MenuPainter();
  for (const SavedItem& saved : items_) {
    // An item the program gave other events meanwhile keeps them.
    if (painter && !painter->Paints(saved.Item)) continue;
    saved.Item->OnMeasureItem = saved.Measure;
    saved.Item->OnAdvancedDrawItem = saved.Draw;
  }
  for (const SavedMenu& saved : menus_) saved.Menu->SetOwnerDraw(saved.OwnerDraw);
  for (const SavedItem& saved : items_) saved.Item->RemoveFreeNotification(this);
  for (const SavedMenu& saved : menus_) saved.Menu->RemoveFreeNotification(this);
  items_.clear();
  menus_.clear();
}

// ---------------------------------------------------------------------------------------
// What the mapping changed, and giving it back

void TControlMapping::Watch(vcl::TComponent* Component) { Component->FreeNotification(this); }

void TControlMapping::SetProperty(vcl::TComponent* Owner, StringView Name, const String& Value) {
  const vcl::TPropInfo* prop = vcl::GetPropInfo(Owner, Name);
  if (!prop || !prop->GetOrd || !prop->SetOrd) return;
  switch (vcl::PropKind(*prop)) {
    case vcl::TPropKind::pkInteger:
    case vcl::TPropKind::pkColor:
    case vcl::TPropKind::pkBoolean:
    case vcl::TPropKind::pkEnumeration: break;
    default: return;
  }
  const int64_t old = vcl::GetOrdProp(Owner, *prop);
  SetPropText(Owner, Name, Value);
  if (vcl::GetOrdProp(Owner, *prop) == old) return;
  const bool known = std::any_of(properties_.begin(), properties_.end(),
                                 [&](const SavedProperty& p) { return p.Owner == Owner && p.Name == Name; });
  if (!known) {
    properties_.push_back({Owner, String(Name), old});
    Watch(Owner);
  }
}

void TControlMapping::SetTag(vcl::TComponent* Owner, intptr_t Value) {
  if (Owner->Tag() == Value) return;
  const bool known = std::any_of(properties_.begin(), properties_.end(),
                                 [&](const SavedProperty& p) { return p.Owner == Owner && p.Name == L"Tag"; });
  if (!known) {
    properties_.push_back({Owner, L"Tag", static_cast<int64_t>(Owner->Tag())});
    Watch(Owner);
  }
  Owner->SetTag(Value);
}

void TControlMapping::Restore() {
  link_.reset();
  RestoreMenus();
  for (const SavedToolBar& saved : tool_bars_) {
    if (saved.Background &&
        saved.ToolBar->OnCustomDraw == vcl::TTBCustomDrawEvent::Bind<&TFormFrame::DrawToolbarBackground>(form_))
      saved.ToolBar->OnCustomDraw = nullptr;
    if (saved.Buttons &&
        saved.ToolBar->OnCustomDrawButton == vcl::TTBCustomDrawBtnEvent::Bind<&TFormFrame::DrawToolbarButton>(form_))
      saved.ToolBar->OnCustomDrawButton = nullptr;
    saved.ToolBar->RemoveFreeNotification(this);
    if (saved.ToolBar->HandleAllocated()) saved.ToolBar->Invalidate();
  }
  tool_bars_.clear();
  // Last changed first, so a property changed twice ends with its first value.
  for (auto p = properties_.rbegin(); p != properties_.rend(); ++p) {
    try {
      if (p->Name == L"Tag")
        p->Owner->SetTag(static_cast<intptr_t>(p->Value));
      else
        vcl::SetOrdProp(p->Owner, p->Name, p->Value);
    } catch (const std::exception&) {
      // A control that refuses its old value keeps the skin's.
    }
    p->Owner->RemoveFreeNotification(this);
  }
  properties_.clear();
}

void TControlMapping::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  std::erase_if(properties_, [&](const SavedProperty& p) { return p.Owner == AComponent; });
  std::erase_if(menus_, [&](const SavedMenu& m) { return m.Menu == AComponent; });
  std::erase_if(items_, [&](const SavedItem& i) { return i.Item == AComponent; });
  std::erase_if(tool_bars_, [&](const SavedToolBar& t) { return t.ToolBar == AComponent; });
}

}  // namespace winskin
