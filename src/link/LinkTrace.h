#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace varnok {

enum class TraceDirection { Sent, Received };

// Called by the transports with every byte block they send or receive (varnok-cmd -v). Empty: no tracing.
using LinkTrace = std::function<void(TraceDirection, const std::uint8_t* bytes, std::size_t count)>;

}  // namespace varnok
