#pragma once
#include <functional>
#include <string>

namespace varnok {

// The one top-level error display: a message box with the error icon, the caption "Varnok_Omblet" and
// the message with the full-stop rule of ErrorDisplayText. Conversion failures and files that cannot be
// opened or written reach it.
void ShowErrorDisplay(const std::string& message);

// Tests replace the message box (which would wait for a click) with a recorder of the shown text.
// Returns the previous one; an empty function restores the message box.
using ErrorDisplaySink = std::function<void(const std::string& shownText)>;
ErrorDisplaySink SetErrorDisplaySinkForTesting(ErrorDisplaySink sink);

}  // namespace varnok
