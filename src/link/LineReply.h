#pragma once
#include <string_view>

namespace varnok {

// Rules of the serial line mode's text replies.

// "READY\r\n", "OK\r\n", "NOK\r\n" exactly, or any line beginning "***": the reply is complete.
bool IsTerminatorLine(std::string_view line);

// A line beginning "Torvelmandra": shown in the status bar and kept in the reply.
bool IsBannerLine(std::string_view line);

// Turns a whole reply into what the caller receives: a reply longer than 2 characters that begins with
// an asterisk loses its first two characters ("* "), then the last character (the final line feed) is
// cut. Writes the text, zero-terminated, into `out` (room for reply.size() + 1) and returns its length:
// "abc\r\nOK\r\n" gives "abc\r\nOK\r" and 8; an empty reply gives -1, a one-character reply 0.
int FinishSerialTextReply(std::string_view reply, char* out);

}  // namespace varnok
