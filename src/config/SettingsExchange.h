#pragma once
#include "config/ConfigPanel.h"
#include "link/InstrumentLink.h"

namespace varnok {

// Upload: tip configuration (8), user corrections (9), blower (10), calibration constants (11), each
// payload built just before its command. Every command is sent whatever the previous outcome; the
// status panel ends on the first failure or refusal, or on "OK". A field that is not a number throws
// AppError at that point: commands sent before stay sent, later ones are not sent. More than 16
// elevation angles are refused before anything is sent.
void UploadSettings(InstrumentLink& link, const ConfigPanel& panel);

// Read: codes 168, 169, 170, 171 in order, each reply shown in the panel. The first reply that falls
// short (or a tip count above 16) ends the read with the error tone; fields filled before stay filled.
// Returns false when it ended that way.
bool ReadSettings(InstrumentLink& link, ConfigPanel& panel);

// Save to Flash: code 200; the status panel shows "Number of writes = N" when the reply carries the
// count, otherwise the command's outcome.
void SaveSettingsToFlash(InstrumentLink& link);

}  // namespace varnok
