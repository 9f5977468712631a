// COM support types and the class registry.
#include <gtest/gtest.h>

#include "platform/com/cp1252.h"
#include "platform/com/registry.h"
#include "platform/com/variant.h"

namespace {

TEST(Bstr, NullAndEmptyAreKeptApart) {
  const _bstr_t null;
  const _bstr_t nullFromPointer(static_cast<const char*>(nullptr));
  const _bstr_t empty("");
  EXPECT_TRUE(null.is_null());
  EXPECT_TRUE(nullFromPointer.is_null());
  EXPECT_FALSE(empty.is_null());
  EXPECT_EQ(static_cast<const char*>(null), nullptr);
  EXPECT_STREQ(static_cast<const char*>(empty), "");
  EXPECT_EQ(null.length(), 0u);
  EXPECT_EQ(empty.length(), 0u);
  EXPECT_TRUE(null == nullFromPointer);
  EXPECT_FALSE(null == empty);
  EXPECT_TRUE(empty == _bstr_t(u""));
}

TEST(Bstr, HoldsUtf16AndNarrowsToUtf8) {
  const _bstr_t unit("in\xC2\xB2 / \xC2\xB0" "C");  // "in² / °C"
  EXPECT_EQ(unit.view(), u"in\u00B2 / \u00B0C");
  EXPECT_EQ(unit.length(), 8u);
  EXPECT_STREQ(static_cast<const char*>(unit), "in\xC2\xB2 / \xC2\xB0" "C");
  const _bstr_t astral(u"\U0001F600x");
  EXPECT_EQ(astral.str(), "\xF0\x9F\x98\x80x");
  // A byte that is not UTF-8 keeps its character code.
  EXPECT_EQ(_bstr_t("A\xB0").view(), u"A\u00B0");
}

TEST(Bstr, ConcatenationAndCopiesShareNothingVisible) {
  _bstr_t a("Error in ");
  const _bstr_t b = a;
  a += _bstr_t("ReadCommand()");
  EXPECT_EQ(a.str(), "Error in ReadCommand()");
  EXPECT_EQ(b.str(), "Error in ");
  EXPECT_EQ((_bstr_t() + _bstr_t()).is_null(), true);
  EXPECT_EQ((_bstr_t() + _bstr_t("x")).str(), "x");
}

// A counted object to watch references.
struct ITestThing : IUnknown {
  static constexpr IID kIID = {0x11111111, 1, 1, {1, 1, 1, 1, 1, 1, 1, 1}};
  virtual int Value() = 0;
};
struct IOther : IUnknown {
  static constexpr IID kIID = {0x22222222, 2, 2, {2, 2, 2, 2, 2, 2, 2, 2}};
};
int g_alive = 0;
class Thing : public plat::ComObject<ITestThing> {
 public:
  Thing() { ++g_alive; }
  ~Thing() override { --g_alive; }
  int Value() override { return 42; }
};

TEST(Cp1252, EveryCodeRoundTripsAndOtherCharactersBecomeQuestionMarks) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(plat::Utf8To1252(plat::Cp1252ToUtf8(all)), all);
  EXPECT_EQ(plat::Cp1252ToUtf8("\x80\x9F\xE4"), "\u20AC\u0178\u00E4");
  // A check mark, a lone surrogate, a pair (one character), a stray byte of bad UTF-8 taken as Latin-1.
  EXPECT_EQ(plat::Utf16To1252(u"\u2713\xD800" "a\U0001F600" "b"), "??a?b");
  EXPECT_EQ(plat::Utf8To1252("\xE4x"), "\xE4x");
}

TEST(ComPtr, CallThroughAnEmptyHolderRaisesEPointer) {
  _com_ptr_t<ITestThing> empty;
  try {
    empty->Value();
    FAIL() << "no exception";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_POINTER);
  }
}

TEST(ComPtr, HoldersCountReferencesAndReleaseTheObject) {
  {
    _com_ptr_t<ITestThing> a;
    ASSERT_EQ(plat::CreateComObject<Thing>(ITestThing::kIID, reinterpret_cast<void**>(&a)), S_OK);
    EXPECT_EQ(g_alive, 1);
    _com_ptr_t<ITestThing> b = a;
    a = nullptr;
    EXPECT_EQ(g_alive, 1);
    EXPECT_EQ(b->Value(), 42);
    _com_ptr_t<IOther> other(b);  // not implemented: stays empty
    EXPECT_FALSE(other);
    _com_ptr_t<IUnknown> unknown(b);
    EXPECT_TRUE(unknown);
  }
  EXPECT_EQ(g_alive, 0);
  void* p = nullptr;
  EXPECT_EQ(plat::CreateComObject<Thing>(IOther::kIID, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(g_alive, 0);
}

TEST(Registry, ProgIdLookupCreationAndUnregistering) {
  plat::RegisterClass("Test.Thing.1", [](REFIID riid, void** ppv) { return plat::CreateComObject<Thing>(riid, ppv); });
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(u"Test.Thing.1", &clsid), S_OK);
  _com_ptr_t<ITestThing> thing;
  EXPECT_EQ(thing.CreateInstance("Test.Thing.1"), S_OK);
  EXPECT_EQ(thing->Value(), 42);

  // The class object on this computer, not on another one.
  COSERVERINFO here;
  std::u16string name = u"localhost";
  here.pwszName = name.data();
  IClassFactoryPtr factory;
  EXPECT_EQ(CoGetClassObject(clsid, CLSCTX_ALL, &here, IClassFactory::kIID, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_TRUE(factory);
  std::u16string far = u"remote-host-9";
  COSERVERINFO there;
  there.pwszName = far.data();
  IClassFactoryPtr none;
  EXPECT_EQ(CoGetClassObject(clsid, CLSCTX_ALL, &there, IClassFactory::kIID, reinterpret_cast<void**>(&none)),
            RPC_S_SERVER_UNAVAILABLE_HR);
  EXPECT_FALSE(none);

  EXPECT_TRUE(plat::UnregisterClass("Test.Thing.1"));
  EXPECT_FALSE(plat::UnregisterClass("Test.Thing.1"));
  EXPECT_EQ(CLSIDFromProgID(u"Test.Thing.1", &clsid), CO_E_CLASSSTRING);
  _com_ptr_t<ITestThing> again;
  EXPECT_EQ(again.CreateInstance("Test.Thing.1"), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(again);
  EXPECT_EQ(CoInitialize(nullptr) == S_OK || CoInitialize(nullptr) == S_FALSE, true);
}

TEST(Variant, ByteArraysAreOwnedCopiedAndMoved) {
  const BYTE frame[] = {13, 0, 255};
  _variant_t v = _variant_t::FromBytes(frame, 3);
  EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
  LONG lo = -1, hi = -1;
  EXPECT_EQ(SafeArrayGetLBound(v.parray, 1, &lo), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(v.parray, 1, &hi), S_OK);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 2);
  _variant_t copy = v;
  copy.parray->data[0] = 99;
  EXPECT_EQ(v.Bytes(), (std::vector<BYTE>{13, 0, 255}));
  _variant_t moved = std::move(copy);
  EXPECT_EQ(moved.Bytes(), (std::vector<BYTE>{99, 0, 255}));
  EXPECT_EQ(copy.vt, VT_EMPTY);
  moved = _variant_t(3.5);
  EXPECT_EQ(moved.vt, VT_R8);
  EXPECT_FALSE(moved.IsByteArray());
  EXPECT_TRUE(moved.Bytes().empty());
  EXPECT_EQ(_variant_t::FromBytes(nullptr, 0).Bytes().size(), 0u);
}

TEST(Variant, ScalarsTextsAndInterfaces) {
  EXPECT_EQ(_variant_t(true).boolVal, VARIANT_TRUE);
  EXPECT_EQ(_variant_t(false).boolVal, VARIANT_FALSE);
  EXPECT_EQ(_variant_t(static_cast<LONG>(-7)).lVal, -7);
  EXPECT_EQ(_variant_t(static_cast<BYTE>(200)).bVal, 200);
  const _variant_t text("Position");
  EXPECT_EQ(text.vt, VT_BSTR);
  EXPECT_EQ(text.bstrVal.str(), "Position");
  {
    _com_ptr_t<ITestThing> thing;
    plat::CreateComObject<Thing>(ITestThing::kIID, reinterpret_cast<void**>(&thing));
    _variant_t held(static_cast<IUnknown*>(thing.GetInterfacePtr()), VT_DISPATCH);
    thing = nullptr;
    EXPECT_EQ(g_alive, 1);
    _variant_t second = held;
    held.Clear();
    EXPECT_EQ(g_alive, 1);
  }
  EXPECT_EQ(g_alive, 0);
}

TEST(SafeArray, LockedArrayIsNotDestroyed) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, 4);
  ASSERT_NE(psa, nullptr);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(psa, &data), S_OK);
  static_cast<BYTE*>(data)[3] = 7;
  EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(psa), S_OK);
  EXPECT_EQ(psa->data[3], 7);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
  EXPECT_EQ(SafeArrayCreateVector(VT_R8, 0, 4), nullptr);
}

}  // namespace
