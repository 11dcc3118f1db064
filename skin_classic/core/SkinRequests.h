// What a skin-data component asks of the skin manager: to know it, and to carry its skin to the
// windows (activation requests the manager's timer carries out). The manager implements it; the
// skin data sees no more of it than this.
#pragma once

#include <windows.h>

namespace winskin {

class TSkinData;

// Activation requests carried out by the manager's timer.
enum class TSkinMode { None = 0, SkinAll = 1, UnskinAll = 2, Refresh = 3, PurgeDestroyed = 6, Reskin = 7 };

// Every request waits this long on the timer.
inline constexpr unsigned kRequestInterval = 250;

class TSkinRequests {
 public:
  virtual void RegisterSkinData(TSkinData* SkinData) = 0;
  // The skin data goes: nothing keeps it, and the windows it skinned are given back their own
  // look (then offered to the skin data that remain).
  virtual void UnregisterSkinData(TSkinData* SkinData) = 0;
  // The thread's WH_CBT hook (installed once).
  virtual void InstallHook() = 0;
  // The skin data whose request waits on the timer, or nil.
  virtual TSkinData* RequestSkinData() const = 0;
  virtual void SetRequestSkinData(TSkinData* Value) = 0;
  // The forms skinned with SkinData drop their cached skin objects.
  virtual void RefreshSkinObjects(TSkinData* SkinData) = 0;
  virtual int FormCount() const = 0;
  // Stores the request; before the first activation it only switches Active (mode 1 on,
  // mode 2 off), else the timer carries it out after Interval milliseconds. Set
  // RequestSkinData first.
  virtual void SetActiveMode(TSkinMode Mode, unsigned Interval) = 0;
  virtual int Started() const = 0;
  virtual void SetStarted(int Value) = 0;
  // Gives a top-level window its form object when every test passes; false otherwise.
  virtual bool SkinForm(HWND Window) = 0;

 protected:
  ~TSkinRequests() = default;
};

// The manager, or nil before the first skin data is loaded and after shutdown.
TSkinRequests* SkinRequests();
// The manager, made when there is none.
TSkinRequests& MakeSkinRequests();

}  // namespace winskin
