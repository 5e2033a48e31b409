#pragma once
#include <tuple>
#include <utility>

#include "link/InstrumentLink.h"

namespace varnok {

// A page's handler that talks to the link, as a slot: it runs through the link's handler gate, so it
// waits for a handler that is still waiting for the instrument, and its own commands stay together.
// The signal's arguments are kept for the handler.
template <class Page, class... Args>
auto Gated(InstrumentLink& link, Page* page, void (Page::*handler)(Args...)) {
  return [&link, page, handler](Args... args) {
    link.Handlers().Run([page, handler, kept = std::make_tuple(args...)] {
      std::apply([&](const auto&... a) { (page->*handler)(a...); }, kept);
    });
  };
}

// A timer's tick through the gate: dropped while a handler waits, except one that runs afterwards.
template <class Page>
auto GatedTick(InstrumentLink& link, const void* timer, Page* page, void (Page::*handler)()) {
  return
      [&link, timer, page, handler] { link.Handlers().Tick(timer, [page, handler] { (page->*handler)(); }); };
}

}  // namespace varnok
