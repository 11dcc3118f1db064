// The run-time layer's scope guards: an action on leaving a scope, and the lifetime watch that
// tells a call whether its object survived what it called.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "classlib/rtl/Lifetime.h"
#include "classlib/rtl/ScopeExit.h"

namespace vcl {
namespace {

TEST(ScopeExit, RunsOnReturnAndOnExceptionButNotOnceDismissed) {
  std::vector<const char*> log;
  {
    const TScopeExit restore([&] { log.push_back("restored"); });
    log.push_back("work");
  }
  EXPECT_EQ(log, (std::vector<const char*>{"work", "restored"}));

  log.clear();
  EXPECT_THROW(
      {
        const TScopeExit restore([&] { log.push_back("restored"); });
        throw std::runtime_error("fails");
      },
      std::runtime_error);
  EXPECT_EQ(log, std::vector<const char*>{"restored"});

  // The undo of a call that completed is dismissed; of one that threw it runs.
  auto attach = [&](bool fail) {
    auto undo = TScopeExit([&] { log.push_back("undone"); });
    if (fail) throw std::runtime_error("attach failed");
    undo.Dismiss();
  };
  log.clear();
  attach(false);
  EXPECT_TRUE(log.empty());
  EXPECT_THROW(attach(true), std::runtime_error);
  EXPECT_EQ(log, std::vector<const char*>{"undone"});
}

// An object whose handler may free the object itself, as a window procedure's may.
struct Handler {
  TLifetime lifetime;
  std::function<void()> inner;
  int after = 0;

  bool Handle() {
    const TLifetime::TWatch alive = lifetime.Watch();
    inner();
    if (!alive) return false;
    ++after;
    return true;
  }
};

TEST(Lifetime, AWatchTellsWhetherTheObjectOutlivedTheCall) {
  auto handler = std::make_unique<Handler>();
  handler->inner = [] {};
  EXPECT_TRUE(handler->Handle());
  EXPECT_EQ(handler->after, 1);

  // Freed inside its own call: the watch outlives it and answers false.
  Handler* raw = handler.get();
  raw->inner = [&handler] { handler.reset(); };
  EXPECT_FALSE(raw->Handle());
  EXPECT_EQ(handler, nullptr);

  // Detached but alive: ended for every watch taken before or after.
  Handler detached;
  const TLifetime::TWatch before = detached.lifetime.Watch();
  detached.inner = [&detached] { detached.lifetime.End(); };
  EXPECT_FALSE(detached.lifetime.Ended());
  EXPECT_FALSE(detached.Handle());
  EXPECT_TRUE(detached.lifetime.Ended());
  EXPECT_FALSE(before);
  EXPECT_FALSE(detached.lifetime.Watch());
  EXPECT_EQ(detached.after, 0);
}

}  // namespace
}  // namespace vcl
