#pragma once
#include <concepts>
#include <functional>
#include <string>
#include <utility>

namespace varnok {

// Shows the failure that ended a handler (a conversion failure, a file that cannot be read or written)
// in the one error display. The guard below and the link's handler gate both report through it.
void ReportHandlerFailure(const std::string& message);

// Runs one handler of the window: a failure that ends it is reported as above and never leaves the
// handler, so no exception crosses a Qt slot.
void RunGuarded(const std::function<void()>& handler);

// The slot every control of the program binds: `handler` (a lambda, or a link handler made with Gated)
// guarded as above. The signal's arguments reach it as far as it takes them.
template <class Handler>
auto Guarded(Handler handler) {
  return [handler = std::move(handler)](
      const auto&... args) requires std::invocable<const Handler&, const decltype(args)&...> {
    RunGuarded([&] { handler(args...); });
  };
}

// The same for a member handler of a page: Guarded(this, &Page::Button5Click).
template <class Page, class... Args>
auto Guarded(Page* page, void (Page::*handler)(Args...)) {
  return [page, handler](Args... args) { RunGuarded([&] { (page->*handler)(args...); }); };
}

}  // namespace varnok
