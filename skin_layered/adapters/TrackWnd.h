// TqvTrackWnd, the adapter of a system track bar ("msctls_trackbar32", a child of a skinned
// dialog): the whole control painted from the skin's "TRACKBAR" section into the cache, its
// background, channel, ticks and thumb, and a disabled bar faded toward what lies behind it.
#pragma once

#include <vector>

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

// Where the ticks of a bar lie along its axis: Count ticks spread evenly over the channel
// (from ChannelStart, ChannelLength long) less one thumb; none for Count below 1.
std::vector<int> TrackTickPositions(int ChannelStart, int ChannelLength, int ThumbLength, int Count);

class TqvTrackWnd : public TqvMainWnd {
  VCL_CLASS(TqvTrackWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The whole bar into the skin data's cache (sized to the window).
  void PaintCache();

  bool Pressed = false;
  int TrackSkinIndex = -1;
  int TickLength = 4;
  double TickStep = 0;

 private:
  bool Vertical() const;
  // 2 both sides, 1 top or left, 0 bottom or right.
  int TickSide() const;
  vcl::TRect ChannelRect() const;
  vcl::TRect ThumbRect() const;
  void PaintChannel(vcl::TBitmap* Cache, const vcl::TRect& Channel);
  void PaintTicks(vcl::TBitmap* Cache, const vcl::TRect& Channel, const vcl::TRect& Thumb);
  void PaintThumb(vcl::TBitmap* Cache, const vcl::TRect& Thumb);
  void Paint(HDC GivenDC);
};

}  // namespace skin_layered
