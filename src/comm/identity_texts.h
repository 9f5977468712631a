#pragma once
// The identification texts that the configuration read writes and the
// identification strip and every report header show. The common-functions
// object carries them; the communication object is bound to it.
#include "platform/com/bstr.h"

struct CIdentityTexts {
  _bstr_t m_strDeviceTag{""};
  _bstr_t m_strActuatorManufacturer{""};
  _bstr_t m_strActuatorSize{""};
  _bstr_t m_strActuatorType{""};
  _bstr_t m_strSpringType{""};
  _bstr_t m_strValveModel{""};
  _bstr_t m_strValveBodySize{""};
  _bstr_t m_strFlowDirection{""};
  _bstr_t m_strFailPosition{""};
};
