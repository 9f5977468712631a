#pragma once
// The blackboard of the common functions: values one side of the program
// hands to another. Pages copy their settings, results and alarm states in;
// test-file savers and report builders read them; file openers write what a
// file held back for the page to show. Numbers travel as the texts the
// pages show; only flags and codes are numbers.
#include <array>
#include <string>

#include "comm/identity_texts.h"
#include "platform/com/bstr.h"
#include "platform/sys/wintypes.h"

template <size_t N>
using TextArray = std::array<_bstr_t, N>;

// Texts start empty, not null: callers compare and print them.
template <size_t N>
TextArray<N> EmptyTexts() {
  TextArray<N> texts;
  texts.fill(_bstr_t(""));
  return texts;
}

// A test's settings and results by name. kInOrder lists them in the order
// of the page's edits, the file's values and the report's rows, for the
// code that walks them (InOrder).
struct RampSettingTexts {
  _bstr_t start{""}, stop{""};     // percent
  _bstr_t hold{""}, rampTime{""};  // seconds
  static constexpr std::array kInOrder{&RampSettingTexts::start, &RampSettingTexts::stop, &RampSettingTexts::hold,
                                       &RampSettingTexts::rampTime};
};
struct StepSettingTexts {
  _bstr_t start{""}, stop{""};  // percent
  _bstr_t hold{""};             // seconds
  static constexpr std::array kInOrder{&StepSettingTexts::start, &StepSettingTexts::stop, &StepSettingTexts::hold};
};
struct PSTSettingTexts {
  _bstr_t start{""}, stop{""};                    // percent
  _bstr_t hold{""}, rampTime{""}, timeLimit{""};  // seconds
  static constexpr std::array kInOrder{&PSTSettingTexts::start, &PSTSettingTexts::stop, &PSTSettingTexts::hold,
                                       &PSTSettingTexts::rampTime, &PSTSettingTexts::timeLimit};
};
struct HDRLResultTexts {
  _bstr_t repeatabilityAverage{""}, repeatabilityMaximum{""};
  _bstr_t hysteresisAverage{""}, hysteresisMaximum{""};  // hysteresis plus dead band
  _bstr_t linearity{""};
  static constexpr std::array kInOrder{&HDRLResultTexts::repeatabilityAverage, &HDRLResultTexts::repeatabilityMaximum,
                                       &HDRLResultTexts::hysteresisAverage, &HDRLResultTexts::hysteresisMaximum,
                                       &HDRLResultTexts::linearity};
};
// The data monitor's settings: the interval and the duration unit as the
// page saves them (list places) or prints them (list texts), and the time
// the record ran.
struct LoggerSettingTexts {
  _bstr_t interval{""}, duration{""}, unit{""};
  _bstr_t days{""}, hours{""}, minutes{""}, seconds{""};
  static constexpr std::array kInOrder{&LoggerSettingTexts::interval, &LoggerSettingTexts::duration,
                                       &LoggerSettingTexts::unit,     &LoggerSettingTexts::days,
                                       &LoggerSettingTexts::hours,    &LoggerSettingTexts::minutes,
                                       &LoggerSettingTexts::seconds};
};

// The calibration pages' texts for their reports: the result, who
// calibrated and when, and the device's figures.
struct StrokeCalTexts {
  _bstr_t result{""}, by{""}, date{""};
  _bstr_t ilo{""}, lowAD{""}, highAD{""}, adRange{""};
};
struct CommandCalTexts {
  _bstr_t result{""}, by{""}, date{""};
  _bstr_t at4mA{""}, at0{""}, at100{""}, adRange{""};  // A/D readings
};

template <class Texts>
_bstr_t& InOrder(Texts& texts, size_t i) {
  return texts.*Texts::kInOrder.at(i);
}
template <class Texts>
const _bstr_t& InOrder(const Texts& texts, size_t i) {
  return texts.*Texts::kInOrder.at(i);
}

// The identification texts (tag, actuator, valve) come first from the
// communication object's configuration read.
struct CCommonFields : CIdentityTexts {
  _bstr_t m_strFileTag{""};

  // Ramp test: stroke and actuator.
  _bstr_t m_strRampStrokeLength{""};
  _bstr_t m_strRampStrokeUnit{""};
  BYTE m_nRampStrokeUnitCode = 0;
  _bstr_t m_strRampActuatorSize{""};
  _bstr_t m_strRampAreaUnit{""};
  BYTE m_nRampAreaUnitCode = 0;  // 1: square centimetres, else square inches

  BYTE m_bPressureGraphPortA = 1;

  // Alarm annunciator, management annunciator, event history.
  std::array<BYTE, 67> m_bAlarmActive{};
  std::array<BYTE, 67> m_bAlarmMasked{};
  TextArray<59> m_strAlarmValues = EmptyTexts<59>();
  std::array<BYTE, 76> m_bMgmtFlags{};
  std::array<BYTE, 3> m_bHistorySelection{};

  // Ramp and step tests.
  RampSettingTexts m_strRampSettings;
  BYTE m_bRampBidirectional = 1;
  _bstr_t m_strRampTag{""};
  StepSettingTexts m_strStepSettings;
  _bstr_t m_strStepTag{""};

  // Fixed report options.
  BYTE m_bPressureGraphPortBOff = 0;
  BYTE m_bPressureGraphPortB = 0;
  BYTE m_bMultiReportPressureGraph = 0;

  // HDRL test.
  _bstr_t m_strHDRLTag{""};
  _bstr_t m_strHDRLSettlingTime{""};
  HDRLResultTexts m_strHDRLResults;

  // Partial stroke test.
  PSTSettingTexts m_strPSTSettings;
  _bstr_t m_strPSTBreakawayTime{""};
  _bstr_t m_strPSTTimeToTarget{""};
  BYTE m_nPSTResultCode = 0;
  _bstr_t m_strPSTResult{""};
  _bstr_t m_strPSTTag{""};

  // Data monitor.
  LoggerSettingTexts m_strLoggerSettings;

  // Compared files: file 1's value before file 2's.
  TextArray<31> m_strPSTCompare = EmptyTexts<31>();
  TextArray<23> m_strHDRLCompare = EmptyTexts<23>();
  TextArray<12> m_strStepCompare = EmptyTexts<12>();
  TextArray<24> m_strRampCompare = EmptyTexts<24>();
  BYTE m_nCompareStrokeUnitCode = 0;
  BYTE m_nCompareAreaUnitCode = 0;
  std::array<BYTE, 2> m_bCompareBidirectional{};
  // A ramp file 2 not read since the last file 1: no bi-directional value.
  static constexpr BYTE kCompareNotLoaded = 0xFF;

  // Calibration reports.
  StrokeCalTexts m_strStrokeCal;
  std::array<BYTE, 14> m_bStrokeCalFlags{};
  CommandCalTexts m_strCommandCal;
  std::array<BYTE, 3> m_bCommandCalActive{};

  // The parts of the file path split last: drive, directory, name, extension.
  TextArray<4> m_strPathParts = EmptyTexts<4>();
  std::string m_szSplitDrive;
  std::string m_szSplitDir;
  std::string m_szSplitExt;
  std::string m_szSplitName;
};
