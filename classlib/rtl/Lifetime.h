// TLifetime: tells a call whether its object is still there. A window procedure may send a
// message whose handling frees or detaches the very object the procedure belongs to; the code
// after that send must not touch the object. The object holds a TLifetime (ended by its
// destructor, or earlier by End when the object is detached but lives on); a call takes a
// watch before what may end it and asks the watch afterwards:
//
//   const vcl::TLifetime::TWatch alive = lifetime_.Watch();
//   CallDefault(Message);      // may free this object
//   if (!alive) return;
//
// The watch shares a flag with the lifetime, so it stays readable after the object is gone.
#pragma once

#include <memory>

namespace vcl {

class TLifetime {
 public:
  class TWatch {
   public:
    // The object has not ended since the watch was taken (nor before).
    explicit operator bool() const noexcept { return *alive_; }

   private:
    friend class TLifetime;
    explicit TWatch(std::shared_ptr<const bool> Alive) noexcept : alive_(std::move(Alive)) {}
    std::shared_ptr<const bool> alive_;
  };

  TLifetime() = default;
  ~TLifetime() { End(); }
  TLifetime(const TLifetime&) = delete;
  TLifetime& operator=(const TLifetime&) = delete;

  // The object is gone or detached: every watch answers false from now on.
  void End() noexcept { *alive_ = false; }
  bool Ended() const noexcept { return !*alive_; }
  TWatch Watch() const noexcept { return TWatch(alive_); }

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vcl
