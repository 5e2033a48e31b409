#pragma once
#include <string>
#include <string_view>

namespace varnok {

// The instrument model from the model query's reply: the text before the first "\r\nOK", or the whole
// text when it has none ("QX-7100A\r\nOK\r\n" gives "QX-7100A").
std::string ModelFromReply(std::string_view reply);

}  // namespace varnok
