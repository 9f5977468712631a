// Every text key the device layer can look up has an English text in the
// shipped language file: the keys written in the sources, and the keys the
// code builds from device codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "scripted_device.h"
#include "support/language_table.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Reply;

const fs::path kRoot = fs::path(TARNIX_SOURCE_DIR);

class LanguageKeys : public testsupport::ScriptedDeviceTest {
 protected:
  void SetUp() override {
    ScriptedDeviceTest::SetUp();
    TheLanguageTable().Load(_bstr_t((kRoot / "resources/Dependencies/Language.xml").string()), "1033", false);
  }
  static void ExpectText(const _bstr_t& text, const std::string& what) {
    EXPECT_FALSE(text.is_null()) << what;
    EXPECT_NE(text.str().rfind("##", 0), 0u) << what << " shows " << text.str();
  }
  CIdentityTexts texts;
};

TEST_F(LanguageKeys, KeysWrittenInTheSources) {
  // Lookup("KEY"), Lookup(_bstr_t("KEY")) and the entries of key tables.
  const std::regex lookup(R"re(Lookup\((?:_bstr_t\()?"([^"%]+)")re");
  const std::regex table(R"re(k\[\d+\](?: = k\[\d+\])* = "([^"]+)")re");
  std::set<std::string> keys;
  for (const auto& entry : fs::recursive_directory_iterator(kRoot / "src/comm")) {
    if (entry.path().extension() != ".cpp") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    for (const std::regex* re : {&lookup, &table})
      for (auto it = std::sregex_iterator(source.begin(), source.end(), *re); it != std::sregex_iterator(); ++it)
        keys.insert((*it)[1]);
  }
  EXPECT_GT(keys.size(), 30u);  // the scan found the calibration table and the status area keys
  for (const std::string& key : keys) ExpectText(TheLanguageTable().Lookup(_bstr_t(key)), key);
}

TEST_F(LanguageKeys, KeysBuiltFromDeviceCodes) {
  for (int i = 0; i < 256; ++i) {
    const _bstr_t text = CWexletCoreCommunication::GetStatusBitKey(static_cast<BYTE>(i));
    if (!text.is_null()) ExpectText(text, "status bit " + std::to_string(i));
    const std::string step = CWexletCoreCommunication::GetCalibStateKey(static_cast<BYTE>(i));
    if (!step.empty()) ExpectText(_bstr_t(step), "calibration state " + std::to_string(i));
  }

  ConnectAll();
  comm.BindIdentityTexts(&texts);
  for (int code = 0; code < 256; ++code) {
    const BYTE c = static_cast<BYTE>(code);
    device->queued = {Reply(13, std::vector<BYTE>(21, 0x82)),
                      Reply(200, {0, 228, c, 0, 230, c, 0, 229, c, 0, 231, c, 0, 211, c, 0, 212, c, 0, 189, c, 0, 196, c})};
    comm.ReadConfiguration();
    for (const _bstr_t* t : {&texts.m_strActuatorManufacturer, &texts.m_strActuatorSize, &texts.m_strActuatorType,
                             &texts.m_strSpringType, &texts.m_strValveModel, &texts.m_strValveBodySize,
                             &texts.m_strFlowDirection, &texts.m_strFailPosition})
      ExpectText(*t, "configuration code " + std::to_string(code));

    device->reply = Reply(200, {0, 150, c});
    comm.ReadValveHealthVar150();
    ExpectText(comm.m_strTravelUnits, "travel unit " + std::to_string(code));
  }
  for (int result = 0; result < 4; ++result) {
    device->reply = Reply(200, {0x01, 0x1D, 0, 0, 0, 0, 0x01, 0x1F, 0, 0, 0, 0, 0x01, 0x20, static_cast<BYTE>(result)});
    comm.ReadPstResult();
    ExpectText(comm.m_strPstResult, "result " + std::to_string(result));
  }
}

}  // namespace

namespace {

TEST(ShippedErrorTable, IsFoundBesideTheProgramAndRatesEveryKeyedBit) {
  CWexletCoreCommunication comm;
  comm.LoadErrorTable();
  for (int i = 1; i < 256; ++i) {
    if (CWexletCoreCommunication::GetStatusBitKey(static_cast<BYTE>(i)).is_null()) continue;
    const int severity = comm.LookupErrorValue(static_cast<BYTE>(i));
    EXPECT_TRUE(severity >= 1 && severity <= 3) << "status bit " << i << " severity " << severity;
  }
}

}  // namespace
