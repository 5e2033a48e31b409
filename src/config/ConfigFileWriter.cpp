#include "config/ConfigFileWriter.h"

#include <span>

#include "config/ConfigParser.h"

namespace varnok {

namespace {

constexpr std::size_t kValueColumns = 16;
// The parser takes a date line's first 20 characters as they stand: a date padded to 20 keeps its
// comment out of the field.
constexpr std::size_t kDateColumns = 20;

std::string PaddedTo(const std::string& value, std::size_t columns) {
  return value.size() < columns ? value + std::string(columns - value.size(), ' ') : value + " ";
}

class LineWriter {
 public:
  void Line(const std::string& text) { text_ += text + "\r\n"; }
  void Value(const std::string& value, const std::string& comment) { Line(ConfigValueLine(value, comment)); }
  std::string Text() && { return std::move(text_); }

 private:
  std::string text_;
};

// One value line of a section: the panel's field and the comment the instrument's files give it.
struct ValueField {
  std::string ConfigPanel::*value;
  const char* comment;
};

constexpr ValueField kTipFieldsBeforeAngles[] = {
    {&ConfigPanel::Tip1, "regression coeff for a good tip"},
    {&ConfigPanel::Tip2, "Default Azimuth Angle"},
    {&ConfigPanel::Tip3, "Number of Elevation Angles"},
};
constexpr ValueField kTipFieldsAfterAngles[] = {
    {&ConfigPanel::Tip9, "0=No tips when rain sensor on, 1=allow tips w/rain on"},
    {&ConfigPanel::Tip10, "rain sensor tip threshold (volts)"},
};
constexpr ValueField kBlowerFields[] = {
    {&ConfigPanel::BlRain, "Rain sensor blower threshold (volts)"},
    {&ConfigPanel::BlRH, "RH threshold (%)"},
    {&ConfigPanel::BlSpeed, "Blower speed (rain and RH both below threshold)"},
};
constexpr ValueField kCoefFields[] = {
    {&ConfigPanel::CFG_C1, "LN2 liq depth in cm"},
    {&ConfigPanel::CFG_C2, "LN2 BP C0, the LN2 boiling point linear equation"},
    {&ConfigPanel::CFG_C3, "LN2 BP C1"},
    {&ConfigPanel::CFG_C4, "LN2 interfaces correction"},
    {&ConfigPanel::CFG_C5, "LN2 polystyrene dielectric loss coef ~ 1.16e-5 K/K-cm-GHz"},
    {&ConfigPanel::CFG_C6, "LN2 Styrofoam thickness [cm]"},
    {&ConfigPanel::CFG_C7, "Air press C0,C1 (P=C0+C1*Volts)"},
    {&ConfigPanel::CFG_C8, "X-tilt equation C0,C1"},
    {&ConfigPanel::CFG_C9, "Y-tilt equation C0,C1"},
    {&ConfigPanel::CFG_C10, "IRT window reflection, absorption"},
};
constexpr ValueField kUserCorrectionFields[] = {
    {&ConfigPanel::Offset1, "Pressure sensor offset"},
    {&ConfigPanel::Offset2, "Tamb correction"},
    {&ConfigPanel::Offset3, "Rh correction"},
    {&ConfigPanel::Offset4, "BB sensor correction"},
};

void Values(LineWriter& out, const ConfigPanel& panel, std::span<const ValueField> fields) {
  for (const ValueField& field : fields) out.Value(panel.*field.value, field.comment);
}

std::string TableLine(const CalibrationRow& row) {
  std::string line;
  for (int c = 0; c < kCalibrationColumns; ++c) {
    if (c > 0) line += ',';
    line += row[c];
  }
  return line;
}

}  // namespace

std::string ConfigValueLine(const std::string& value, const std::string& comment) {
  return PaddedTo(value, kValueColumns) + ":" + comment;
}

std::string WriteConfigurationText(const ConfigPanel& panel, const std::vector<std::string>& comments) {
  LineWriter out;
  for (std::string comment : comments) {
    // A comment stays one line whatever it holds (a model text with a line end in it), and names no
    // section: the parser takes the first line that contains a section's name for its header.
    for (char& c : comment) {
      if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    for (std::string_view header :
         {kCalibrationBlockHeader, kTipHeader, kBlowerHeader, kCoefHeader, kUserCorrectionsHeader}) {
      for (auto at = comment.find(header); at != std::string::npos; at = comment.find(header, at)) {
        comment[at + header.size() - 1] = ';';
      }
    }
    out.Line("# " + comment);
  }
  out.Line("");

  out.Line(std::string(kTipHeader) + " (For all TIP Commands)");
  Values(out, panel, kTipFieldsBeforeAngles);
  for (std::size_t k = 0; k < panel.TipL.size(); ++k) {
    out.Value(panel.TipL[k], "Tip Elevation Angle #" + std::to_string(k + 1));
  }
  Values(out, panel, kTipFieldsAfterAngles);
  out.Line("");

  out.Line(std::string(kBlowerHeader));
  Values(out, panel, kBlowerFields);
  out.Line("");

  out.Line("CHANNEL " + std::string(kCalibrationBlockHeader));
  out.Line(PaddedTo(panel.LastFCal, kDateColumns) + ":Date of last factory LN2 calibration");
  out.Line(PaddedTo(panel.LastUserCal, kDateColumns) + ":Date of last user LN2 calibration");
  out.Line(panel.CalIntParam + " :ln2 calibration integration parameters");
  out.Value(panel.CFG_C11, "target tolerance for ln2 cal");
  out.Value(std::to_string(kCalibrationRows), "number of frequencies");
  out.Line(TableLine(CalibrationTitleRow()));
  for (int r = 1; r <= kCalibrationRows; ++r) out.Line(TableLine(panel.FTable[r]));
  out.Line("");

  out.Value(std::string(kCoefHeader), "Coefficients for LN2 calibration and surface sensors");
  Values(out, panel, kCoefFields);
  out.Line("");

  out.Line(std::string(kUserCorrectionsHeader));
  Values(out, panel, kUserCorrectionFields);
  return std::move(out).Text();
}

}  // namespace varnok
