// The adapters of Win32 "static" windows, mostly the labels, icons, pictures and links of
// system dialogs: TqvStaticWnd composes the window in its skin data's cache (the section,
// "CHECKBOX" unless given, over what lies behind it, then the text in the section's font
// colour) and copies it to the window; TqvIconWnd shows the window's icon or picture over the
// background, TqvLinkWnd its text underlined without the link tags, painted as the window
// erases. A static with WS_EX_STATICEDGE (the system gives etched lines and sunken statics
// one) keeps its own painting, and prints its edge and that painting as the screen shows
// them; TqvEdgeWnd lets such a static (an etched or sunken edge) paint itself and then lays
// the skin's edge over its outer two pixels.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

class TqvStaticWnd : public TqvMainWnd {
  VCL_CLASS(TqvStaticWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // Composes the window in the cache and copies it to the message's DC (WParam, else the
  // window's own).
  virtual void PaintWindow(const vcl::TMessage& Message);
  // Draws the content into the cache; true when the cache is to be copied.
  virtual bool PaintContent();

 protected:
  // The caption written into the cache over the section.
  bool PaintCaption();
  // The static keeps its own painting.
  bool PaintsItself() const;
  // A static keeping its own painting printed as the screen shows it: the system's edge, then
  // its own painting of the client part in its place.
  void PrintItself(const vcl::TMessage& Message);
  // The static's own painting of its client part, laid into the DC (whose origin is the
  // window's corner) where the client part lies.
  void PrintOwnClient(HDC DC);
  void Redraw();
};

class TqvIconWnd : public TqvStaticWnd {
  VCL_CLASS(TqvIconWnd, TqvStaticWnd)
 public:
  using TqvStaticWnd::TqvStaticWnd;

  void WndProc(vcl::TMessage& Message) override;
  // The static shows a picture (any style but SS_ICON).
  bool BitmapMode() const;
  // The window's picture or icon, read again at every paint: the window keeps what it owns.
  bool PaintContent() override;
};

class TqvLinkWnd : public TqvStaticWnd {
  VCL_CLASS(TqvLinkWnd, TqvStaticWnd)
 public:
  using TqvStaticWnd::TqvStaticWnd;

  void WndProc(vcl::TMessage& Message) override;
  bool PaintContent() override;
};

class TqvEdgeWnd : public TqvStaticWnd {
  VCL_CLASS(TqvEdgeWnd, TqvStaticWnd)
 public:
  using TqvStaticWnd::TqvStaticWnd;

  void WndProc(vcl::TMessage& Message) override;
  // Printed as painted: the static's own client painting, then the skin's edge.
  void PrintEdged(const vcl::TMessage& Message);
  // The cache made from the section over the parent with the caption, and its outer border
  // strips copied onto the window (the message's DC, else the window's own).
  void PaintWindow(const vcl::TMessage& Message) override;
};

// The width of the edge the edge adapter replaces.
inline constexpr int kStaticEdgeWidth = 2;

// A link's text without its tags ("<A>", "<A HREF=...>", "</A>", in any case).
vcl::String StripLinkTags(vcl::StringView Text);

}  // namespace skin_layered
