#include "config/CalConstantsRecord.h"

#include <algorithm>

#include "config/ExactNumberText.h"
#include "config/FloatListScan.h"
#include "config/Float32.h"
#include "link/LittleEndian.h"
#include "core/InstrumentText.h"
#include "core/TextConversions.h"

namespace varnok {

namespace {

// The instrument keeps a date as up to 16 Windows-1252 characters, one byte each.
void PutDate(std::uint8_t* field, const std::string& text) {
  const std::string bytes =
      Utf8ToInstrumentText(FirstCharacters(text, static_cast<std::size_t>(kDateFieldSize)));
  const std::size_t length = std::min<std::size_t>(bytes.size(), kDateFieldSize);
  std::copy_n(bytes.begin(), length, field);
}

void PutScanned(std::uint8_t* bytes, const std::string& text, int count) {
  const std::vector<float> numbers = ScanFloatList(text, count);
  for (std::size_t i = 0; i < numbers.size(); ++i) PutFloat32(bytes + 4 * i, numbers[i]);
}

}  // namespace

std::string DateFieldText(const std::uint8_t* field) {
  const std::uint8_t* end = std::find(field, field + kDateFieldSize, std::uint8_t{0});
  return InstrumentTextToUtf8(std::string(field, end));
}

std::vector<std::uint8_t> BuildCalConstantsPayload(const ConfigPanel& panel) {
  std::vector<std::uint8_t> payload(kCalConstantsSize, 0);
  PutDate(&payload[0], panel.LastFCal);
  PutDate(&payload[16], panel.LastUserCal);
  const std::string* const singles[] = {&panel.CFG_C1, &panel.CFG_C2, &panel.CFG_C3,
                                        &panel.CFG_C4, &panel.CFG_C5, &panel.CFG_C6};
  for (int i = 0; i < 6; ++i) PutFloat32(&payload[32 + 4 * i], RoundToFloat32(ParseNumberText(*singles[i])));
  PutScanned(&payload[56], panel.CFG_C7, 2);
  PutScanned(&payload[64], panel.CFG_C8, 2);
  PutScanned(&payload[72], panel.CFG_C9, 2);
  PutScanned(&payload[80], panel.CFG_C10, 2);
  PutFloat32(&payload[88], RoundToFloat32(ParseNumberText(panel.CFG_C11)));
  PutScanned(&payload[92], panel.CalIntParam, 5);
  return payload;
}

bool ApplyCalConstantsReply(const std::uint8_t* reply, int result, ConfigPanel& panel) {
  if (result < kCalConstantsSize) return false;
  panel.LastFCal = DateFieldText(reply + 0);
  panel.LastUserCal = DateFieldText(reply + 16);
  panel.CFG_C1 = FormatFixed(GetFloat32(reply + 32), 6, 1);
  return true;
}

bool ApplyWholeCalConstantsReply(const std::uint8_t* reply, int result, ConfigPanel& panel) {
  if (result < kCalConstantsSize) return false;
  auto number = [&](int offset) { return ExactFloat32Text(GetFloat32(reply + offset)); };
  auto list = [&](int offset, int count) {
    std::string text = number(offset);
    for (int i = 1; i < count; ++i) text += "," + number(offset + 4 * i);
    return text;
  };
  panel.LastFCal = DateFieldText(reply + 0);
  panel.LastUserCal = DateFieldText(reply + 16);
  std::string* const singles[] = {&panel.CFG_C1, &panel.CFG_C2, &panel.CFG_C3,
                                  &panel.CFG_C4, &panel.CFG_C5, &panel.CFG_C6};
  for (int i = 0; i < 6; ++i) *singles[i] = number(32 + 4 * i);
  panel.CFG_C7 = list(56, 2);
  panel.CFG_C8 = list(64, 2);
  panel.CFG_C9 = list(72, 2);
  panel.CFG_C10 = list(80, 2);
  panel.CFG_C11 = number(88);
  panel.CalIntParam = list(92, 5);
  return true;
}

}  // namespace varnok
