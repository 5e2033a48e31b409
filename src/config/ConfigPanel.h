#pragma once
#include <array>
#include <string>
#include <vector>

namespace varnok {

inline constexpr int kCalibrationColumns = 13;
inline constexpr int kCalibrationRows = 35;  // data rows 1..35 of FTable; row 0 holds the titles

using CalibrationRow = std::array<std::string, kCalibrationColumns>;

// The titles of FTable's row 0, as one comma list.
inline constexpr const char* kCalibrationTitleList =
    "Frequency,Rcvr,MRT,\"Window Coef\",\"ND drive\",\"IF Atten\",alpha,dtdg,k1,k2,k3,k4,Tnd";

// FTable's row 0, split from kCalibrationTitleList.
CalibrationRow CalibrationTitleRow();

// The configuration tab's panel: every field is the text its control shows, exactly as the user may
// have edited it. Numbers are converted only when they are sent to the instrument. The member
// initialisers are the texts the tab shows at start-up.
struct ConfigPanel {
  ConfigPanel();

  // Tip Configuration
  std::string Tip1 = "0.0";                                          // regression coefficient for a good tip
  std::string Tip2 = "0.0";                                          // default azimuth angle
  std::string Tip3 = "5";                                            // number of elevation angles, as typed
  std::string Tip9 = "0";                                            // 1 = allow tips with rain on
  std::string Tip10 = "0.0";                                         // rain sensor tip threshold, volts
  std::vector<std::string> TipL = {"30", "45", "90", "135", "150"};  // elevation angles

  // Calibration
  std::string LastFCal = "2012/10/22  16:22:22";
  std::string LastUserCal = "2012/10/22  16:22:22";
  std::string CFG_C1 = "0.0";
  std::string CFG_C2 = "0.0";
  std::string CFG_C3 = "0.0";
  std::string CFG_C4 = "0.0";
  std::string CFG_C5 = "0.0";
  std::string CFG_C6 = "0.0";
  std::string CFG_C7 = "0.0";   // pair "C0,C1"
  std::string CFG_C8 = "0.0";   // pair
  std::string CFG_C9 = "0.0";   // pair
  std::string CFG_C10 = "0.0";  // pair
  std::string CFG_C11 = "0.0";  // LN2 target tolerance

  // User Offset Corrections
  std::string Offset1 = "0.0";
  std::string Offset2 = "0.0";
  std::string Offset3 = "0";
  std::string Offset4 = "-1.50";

  // Calibr. Integration Params: five numbers in a comma list
  std::string CalIntParam = "10,10.0,2.5,10,200 ";

  // Blower Control
  std::string BlRain = "0.8";
  std::string BlRH = "70";
  std::string BlSpeed = "30";

  // Bar above the table
  std::string NumberOfFreq = "35 ";

  // The calibration table: row 0 the column titles, rows 1..35 one frequency each.
  std::array<CalibrationRow, kCalibrationRows + 1> FTable;
};

}  // namespace varnok
