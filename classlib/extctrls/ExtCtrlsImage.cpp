// TImage: shows a picture (of any registered kind), at its own size, centred, stretched or
// shrunk in proportion; with AutoSize the control takes the picture's size.
#include "classlib/extctrls/ExtCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TImage) {
  publish::Align(p);
  publish::Anchors(p);
  p.Bool<&TImage::AutoSize, &TImage::SetAutoSize>(L"AutoSize", false);
  publish::Bounds(p);
  p.Bool<&TImage::Center, &TImage::SetCenter>(L"Center", false);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Hints(p);
  p.Object<&TImage::Picture, &TImage::SetPicture>(L"Picture", TPicture::StaticClass());
  publish::PopupMenu(p);
  p.Bool<&TImage::Proportional, &TImage::SetProportional>(L"Proportional", false);
  p.Bool<&TImage::Stretch, &TImage::SetStretch>(L"Stretch", false);
  p.Bool<&TImage::Transparent, &TImage::SetTransparent>(L"Transparent", false);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::OnContextPopup(p);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  picture_->OnChange = TNotifyEvent::Bind<&TImage::PictureChanged>(this);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (auto_size_ && picture_ && picture_->Width() > 0 && picture_->Height() > 0) {
    // Along an aligned edge the parent decides that extent; the other follows the picture.
    const TAlign a = Align();
    if (a == alNone || a == alLeft || a == alRight) AWidth = picture_->Width();
    if (a == alNone || a == alTop || a == alBottom) AHeight = picture_->Height();
  }
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TImage::SetAutoSize(bool Value) {
  if (auto_size_ == Value) return;
  auto_size_ = Value;
  if (Value) SetBounds(Left(), Top(), Width(), Height());
}

void TImage::SetCenter(bool Value) {
  if (center_ == Value) return;
  center_ = Value;
  PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
  if (stretch_ == Value) return;
  stretch_ = Value;
  PictureChanged(this);
}

void TImage::SetProportional(bool Value) {
  if (proportional_ == Value) return;
  proportional_ = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  PictureChanged(this);
}

void TImage::PictureChanged(TObject*) {
  SetBounds(Left(), Top(), Width(), Height());
  TGraphic* graphic = picture_->Graphic();
  bool opaque = false;
  if (graphic) {
    // Icons keep their own transparency.
    if (!dynamic_cast<TIcon*>(graphic)) graphic->SetTransparent(transparent_);
    opaque = !graphic->Transparent() &&
             (stretch_ || (graphic->Width() >= Width() && graphic->Height() >= Height()));
  }
  // A picture that covers the whole control needs no background behind it.
  if (opaque)
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  else
    SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = picture_->Width();
  int h = picture_->Height();
  const int cw = ClientWidth();
  const int ch = ClientHeight();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      const double aspect = static_cast<double>(w) / h;
      if (w > h) {
        w = cw;
        h = static_cast<int>(cw / aspect);
        if (h > ch) {
          h = ch;
          w = static_cast<int>(ch * aspect);
        }
      } else {
        h = ch;
        w = static_cast<int>(ch * aspect);
        if (w > cw) {
          w = cw;
          h = static_cast<int>(cw / aspect);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r(0, 0, w, h);
  if (center_) r.Offset((cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  TGraphic* graphic = picture_->Graphic();
  if (!graphic || graphic->Empty()) return;
  Canvas()->StretchDraw(DestRect(), graphic);
}

}  // namespace vcl
