#pragma once
#include "config/ConfigPanel.h"
#include "link/InstrumentLink.h"

namespace varnok {

// Sends rows 1..35 with code 7, one command per row. A failed or refused row does not stop the
// upload; the status panel ends on the first problem, or on "OK". A cell that is not a number (an
// empty cell included) throws AppError: the rows before it stay sent, its row and later ones are not
// sent. NumberOfFreq is not consulted.
void UploadCalibrationTable(InstrumentLink& link, const ConfigPanel& panel);

// Asks for rows 1..35 with code 167. A reply of more than 10 bytes fills the row (cells beyond a
// short reply empty); a shorter one leaves the row as it was. No tone, message or status text.
void ReadCalibrationTable(InstrumentLink& link, ConfigPanel& panel);

}  // namespace varnok
