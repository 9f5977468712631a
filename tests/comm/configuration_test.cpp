// The configuration read: tag and codes from the device, the key chosen
// for each code, written into the identification texts.
#include <gtest/gtest.h>

#include "scripted_device.h"

namespace {

using testsupport::Bytes;
using testsupport::Reply;

class Configuration : public testsupport::ScriptedDeviceTest {
 protected:
  void SetUp() override {
    ScriptedDeviceTest::SetUp();
    ConnectAll();
    comm.BindIdentityTexts(&texts);
  }
  // Command 13 (tag "ABCDEFGH"), then the eight codes in the order asked:
  // 228, 230, 229, 231, 211, 212, 189, 196.
  void Answer(std::array<BYTE, 8> codes) {
    device->queued = {Reply(13, {0x04, 0x20, 0xC4, 0x14, 0x61, 0xC8, 0x82, 0x08, 0x20, 0x82, 0x08, 0x20, 0x82, 0x08,
                                 0x20, 0x82, 0x08, 0x20, 1, 1, 126}),
                      Reply(200, {0, 228, codes[0], 0, 230, codes[1], 0, 229, codes[2], 0, 231, codes[3], 0, 211,
                                  codes[4], 0, 212, codes[5], 0, 189, codes[6], 0, 196, codes[7]})};
    device->reply.reset();
  }

  CIdentityTexts texts;
};

TEST_F(Configuration, KeyChoiceTable) {
  struct Case {
    std::array<BYTE, 8> codes;  // manufacturer, size, type, spring, model, body size, flow, fail
    std::array<const char*, 8> keys;
  } cases[] = {
      {{3, 45, 2, 17, 51, 23, 0, 0},
       {"ACT_Manufact_Id_3_EnumDescr", "ACT_Size_45_EnumDescr", "ACT_Type_LR_2_EnumDescr", "ACT_Spring_Type_17_EnumDescr",
        "VALVE_Model_51_EnumDescr", "VALVE_Body_Size_23_EnumDescr", "VALVE_Flow_Dir_0_EnumDescr",
        "DC_Fail_Position_0_EnumDescr"}},
      {{8, 11, 5, 18, 50, 24, 8, 1},
       {"MFC_NC", "MFC_NC", "ALLOTHER", "ALLOTHER", "ALLOTHER", "ALLOTHER", "VALVE_Flow_Dir_1_EnumDescr", "ALLOTHER"}},
      {{254, 254, 254, 254, 254, 254, 254, 254},
       {"ALLOTHER", "ALLOTHER", "ALLOTHER", "ALLOTHER", "ALLOTHER", "ALLOTHER", "ALLOTHER", "ALLOTHER"}},
      {{255, 255, 255, 255, 255, 255, 255, 255},
       {"MFC_NC", "MFC_NC", "MFC_NC", "MFC_NC", "MFC_NC", "MFC_NC", "MFC_NC", "MFC_NC"}},
      {{0, 189, 0, 0, 37, 0, 1, 3},
       {"ACT_Manufact_Id_0_EnumDescr", "ACT_Size_189_EnumDescr", "ACT_Type_LR_0_EnumDescr",
        "ACT_Spring_Type_0_EnumDescr", "VALVE_Model_37_EnumDescr", "VALVE_Body_Size_0_EnumDescr", "ALLOTHER",
        "DC_Fail_Position_3_EnumDescr"}},
  };
  for (const Case& c : cases) {
    Answer(c.codes);
    comm.ReadConfiguration();
    const std::array<_bstr_t, 8> got = {texts.m_strActuatorManufacturer, texts.m_strActuatorSize,
                                        texts.m_strActuatorType, texts.m_strSpringType, texts.m_strValveModel,
                                        texts.m_strValveBodySize, texts.m_strFlowDirection, texts.m_strFailPosition};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i].str(), std::string("##") + c.keys[i]) << i << " code " << int(c.codes[i]);
    EXPECT_EQ(texts.m_strDeviceTag.str(), "ABCDEFGH");
  }
}

TEST_F(Configuration, ActuatorSizesWithoutTheirOwnKey) {
  const std::pair<int, int> gaps[] = {{11, 15}, {32, 36}, {40, 44}, {75, 80}, {92, 96}, {103, 107}, {190, 253}};
  for (auto [first, last] : gaps)
    for (int code = first; code <= last; ++code) {
      comm.GetActuatorSizeKey(static_cast<BYTE>(code));
      EXPECT_EQ(texts.m_strActuatorSize.str(), "##MFC_NC") << code;
    }
  comm.GetActuatorSizeKey(10);
  EXPECT_EQ(texts.m_strActuatorSize.str(), "##ACT_Size_10_EnumDescr");
}

TEST_F(Configuration, NoTextsUntilTheCodesHaveComeFromTheDevice) {
  device->reply.reset();
  comm.ReadConfiguration();
  EXPECT_EQ(texts.m_strDeviceTag.str(), "");
  EXPECT_EQ(texts.m_strActuatorManufacturer.str(), "");
  EXPECT_EQ(texts.m_strFailPosition.str(), "");

  Answer({1, 2, 3, 4, 5, 6, 8, 2});
  comm.ReadConfiguration();
  EXPECT_EQ(texts.m_strActuatorManufacturer.str(), "##ACT_Manufact_Id_1_EnumDescr");

  // A later read without a reply chooses the texts from the codes it has.
  device->reply.reset();
  texts.m_strActuatorManufacturer = "";
  comm.ReadConfiguration();
  EXPECT_EQ(texts.m_strActuatorManufacturer.str(), "##ACT_Manufact_Id_1_EnumDescr");
  EXPECT_EQ(texts.m_strFlowDirection.str(), "##VALVE_Flow_Dir_1_EnumDescr");
}

}  // namespace
