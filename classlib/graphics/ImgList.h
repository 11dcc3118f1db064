// Image lists: a component over a comctl32 image list of equally sized images.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "classlib/rtl/Component.h"
#include "classlib/graphics/GraphicsIcon.h"

namespace vcl {

class TBitmap;
class TCustomImageList;

// A link through which an image list tells its users (controls showing its images, engines)
// that its images changed. The user owns the link; the list only points to it while it is
// registered (RegisterChanges), and lets go of it when the list goes.
class TChangeLink : public TObject {
  VCL_CLASS(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  // The list the link is registered with; nil when none.
  TCustomImageList* Sender() const { return sender_; }
  virtual void Change();

  TNotifyEvent OnChange;  // Sender: the image list

 private:
  friend class TCustomImageList;
  TCustomImageList* sender_ = nullptr;
};

VCL_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
VCL_ENUM(TImageType, itImage, itMask)

class TCustomImageList : public TComponent {
  VCL_CLASS(TCustomImageList, TComponent)

 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
  ~TCustomImageList() override;

  // Copies another list's settings and images.
  void Assign(TPersistent* Source) override;

  // The system image list, made on first use.
  HIMAGELIST Handle();
  // Takes a list (owned unless ShareImages); its image size becomes the list's.
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return handle_ != nullptr; }

  int Width() const { return width_; }
  // A new size empties the list.
  virtual void SetWidth(int Value);
  int Height() const { return height_; }
  virtual void SetHeight(int Value);
  int Count() const;
  int AllocBy() const { return alloc_by_; }
  void SetAllocBy(int Value) { alloc_by_ = Value; }
  TColor BkColor() const;
  virtual void SetBkColor(TColor Value);
  TColor BlendColor() const { return blend_color_; }
  void SetBlendColor(TColor Value) { blend_color_ = Value; }
  TDrawingStyle DrawingStyle() const { return drawing_style_; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return image_type_; }
  void SetImageType(TImageType Value);
  bool Masked() const { return masked_; }
  // Changing it makes a new, empty list.
  void SetMasked(bool Value);
  bool ShareImages() const { return share_images_; }
  void SetShareImages(bool Value) { share_images_ = Value; }

  // Adds the images of a bitmap (one per Width pixels); returns the first index or -1.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Adds with a mask made of the pixels of MaskColor.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void Delete(int Index);
  void Clear();

  // Draws an image; a disabled one is drawn embossed in the button highlight and shadow
  // colours.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  // An image at the list's size into a bitmap, or as an icon.
  void GetBitmap(int Index, TBitmap* Image);
  void GetIcon(int Index, TIcon* Image);

  // Changes made between BeginUpdate and the matching EndUpdate are told once, at the end.
  void BeginUpdate() { ++update_count_; }
  void EndUpdate();
  int UpdateCount() const { return update_count_; }
  // Change links: told of every change until unregistered (or freed).
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);

  TNotifyEvent OnChange;

 protected:
  void HandleNeeded();
  virtual void CreateImageList();
  // Tells the change links, then OnChange (at the end of an update when inside one).
  virtual void Change();
  // The images as a form description stores them (the "Bitmap" data): the system's image
  // list stream. Lists that keep their images otherwise store them their own way.
  void DefineProperties(TFiler* Filer) override;
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);

 private:
  void FreeHandle();
  void DrawDisabled(int Index, TCanvas* Canvas, int X, int Y);

  HIMAGELIST handle_ = nullptr;
  int width_ = 16;
  int height_ = 16;
  int alloc_by_ = 4;
  TColor bk_color_ = clNone;
  TColor blend_color_ = clNone;
  TDrawingStyle drawing_style_ = TDrawingStyle::dsNormal;
  TImageType image_type_ = TImageType::itImage;
  bool masked_ = true;
  bool share_images_ = false;
  int update_count_ = 0;
  bool changed_ = false;  // a change waits for the end of the update
  std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
  VCL_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

}  // namespace vcl
