#include "ConfigFileWriter.h"

#include "ConfigParser.h"

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
    for (std::string_view header : {kCalibrationBlockHeader, kTipHeader, kBlowerHeader, kCoefHeader,
                                    kUserCorrectionsHeader}) {
      for (auto at = comment.find(header); at != std::string::npos; at = comment.find(header, at)) {
        comment[at + header.size() - 1] = ';';
      }
    }
    out.Line("# " + comment);
  }
  out.Line("");

  out.Line(std::string(kTipHeader) + " (For all TIP Commands)");
  out.Value(panel.Tip1, "regression coeff for a good tip");
  out.Value(panel.Tip2, "Default Azimuth Angle");
  out.Value(panel.Tip3, "Number of Elevation Angles");
  for (std::size_t k = 0; k < panel.TipL.size(); ++k) {
    out.Value(panel.TipL[k], "Tip Elevation Angle #" + std::to_string(k + 1));
  }
  out.Value(panel.Tip9, "0=No tips when rain sensor on, 1=allow tips w/rain on");
  out.Value(panel.Tip10, "rain sensor tip threshold (volts)");
  out.Line("");

  out.Line(std::string(kBlowerHeader));
  out.Value(panel.BlRain, "Rain sensor blower threshold (volts)");
  out.Value(panel.BlRH, "RH threshold (%)");
  out.Value(panel.BlSpeed, "Blower speed (rain and RH both below threshold)");
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
  out.Value(panel.CFG_C1, "LN2 liq depth in cm");
  out.Value(panel.CFG_C2, "LN2 BP C0, the LN2 boiling point linear equation");
  out.Value(panel.CFG_C3, "LN2 BP C1");
  out.Value(panel.CFG_C4, "LN2 interfaces correction");
  out.Value(panel.CFG_C5, "LN2 polystyrene dielectric loss coef ~ 1.16e-5 K/K-cm-GHz");
  out.Value(panel.CFG_C6, "LN2 Styrofoam thickness [cm]");
  out.Value(panel.CFG_C7, "Air press C0,C1 (P=C0+C1*Volts)");
  out.Value(panel.CFG_C8, "X-tilt equation C0,C1");
  out.Value(panel.CFG_C9, "Y-tilt equation C0,C1");
  out.Value(panel.CFG_C10, "IRT window reflection, absorption");
  out.Line("");

  out.Line(std::string(kUserCorrectionsHeader));
  out.Value(panel.Offset1, "Pressure sensor offset");
  out.Value(panel.Offset2, "Tamb correction");
  out.Value(panel.Offset3, "Rh correction");
  out.Value(panel.Offset4, "BB sensor correction");
  return std::move(out).Text();
}

}  // namespace varnok
