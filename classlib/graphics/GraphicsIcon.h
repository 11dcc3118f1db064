// TIcon: a picture held as an icon handle, read from and written to icon (.ico) files.
#pragma once

#include <vector>

#include "classlib/graphics/GraphicsGraphic.h"

namespace vcl {

class TIcon : public TGraphic {
  VCL_CLASS(TIcon, TGraphic)

 public:
  TIcon();
  ~TIcon() override;

  // From another icon (a copy of its handle and file bytes) or nil (empty).
  void Assign(TPersistent* Source) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  bool GetEmpty() const override { return !handle_; }
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  // EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool GetTransparent() const override { return true; }

  // An icon file from the stream's position; the image nearest the system icon size is
  // used. A broken file raises EInvalidGraphic "Icon image is not valid".
  void LoadFromStream(TStream* Stream) override;
  // The bytes the icon was read from, or an icon file made from the handle.
  void SaveToStream(TStream* Stream) override;

  HICON Handle() const { return handle_.get(); }
  // Takes ownership of an icon handle; nullptr empties.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();

 private:
  void FileFromHandle(std::vector<uint8_t>& out) const;

  UniqueIcon handle_;
  std::vector<uint8_t> data_;  // the icon file, when read from one
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vcl
