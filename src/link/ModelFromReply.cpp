#include "link/ModelFromReply.h"

namespace varnok {

std::string ModelFromReply(std::string_view reply) {
  const auto at = reply.find("\r\nOK");
  return std::string(at == std::string_view::npos ? reply : reply.substr(0, at));
}

}  // namespace varnok
