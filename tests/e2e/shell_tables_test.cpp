// Start-up's tables: the command line, the user's locale, the help file,
// the height of the middle band, and the navigation tree.
#include <gtest/gtest.h>

#include <set>

#include "app/frame.h"
#include "shell/app.h"
#include "shell/tree_view.h"

namespace {

TEST(CommandLine, SwitchesSetTheDeviceAndTheServer) {
  struct Case {
    std::vector<const char*> args;
    const char* device;
    const char* server;
  } cases[] = {
      {{"tarnix", "/dHART/Net/Dev1", "-sPLANT7"}, "HART/Net/Dev1", "PLANT7"},
      {{"tarnix", "-dA", "/dB"}, "B", ""},           // a later switch replaces
      {{"tarnix", "-DX", "/SY"}, "", ""},             // upper case is ignored
      {{"tarnix", "-d"}, "", ""},                     // the letter alone: empty
      {{"tarnix", "document.rmp", "/sHOST"}, "", "HOST"},  // a plain word is not a switch
      {{"tarnix"}, "", ""},
  };
  for (const Case& c : cases) {
    CMyCommandLineInfo info;
    info.Parse(static_cast<int>(c.args.size()), c.args.data());
    EXPECT_EQ(info.m_strDevicePath, c.device);
    EXPECT_EQ(info.m_strServerName, c.server);
  }
}

TEST(Language, ChosenFromTheLocaleWithItsHelpFile) {
  struct Case {
    LCID lcid;
    const char* language;
    const char* help;
  } cases[] = {
      {1033, "1033", "Tarnix Help-en.chm"}, {1031, "1031", "Tarnix Help-de.chm"},
      {3082, "3082", "Tarnix Help-es.chm"}, {1034, "1033", "Tarnix Help-en.chm"},
      {1036, "1036", "Tarnix Help-fr.chm"}, {1040, "1040", "Tarnix Help-en.chm"},
      {1046, "1046", "Tarnix Help-en.chm"}, {1055, "1055", "Tarnix Help-en.chm"},
      {2057, "1033", "Tarnix Help-en.chm"}, {0x00050407, "1031", "Tarnix Help-de.chm"},  // another sort order
  };
  for (const Case& c : cases) {
    const _bstr_t id = LanguageIdFromLcid(c.lcid);
    EXPECT_EQ(id.str(), c.language) << c.lcid;
    EXPECT_EQ(HelpFileForLanguage(id), c.help) << c.lcid;
  }
  // The language part alone chooses, for every region.
  struct Name {
    const char* locale;
    LCID lcid;
  } names[] = {{"de_CH", 1031}, {"de_AT", 1031},       {"de_DE.UTF-8@euro", 1031}, {"de", 1031},
               {"es_MX", 3082}, {"es_ES.UTF-8", 3082}, {"pt_PT", 1046},            {"pt_BR.UTF-8", 1046},
               {"fr_CA", 1036}, {"it_IT@euro", 1040},  {"tr_TR", 1055},            {"en_GB", 1033},
               {"en_US.UTF-8", 1033}, {"nl_NL", 1033}, {"xx_YY", 1033},            {"C", 1033},
               {"C.UTF-8", 1033}, {"POSIX", 1033},     {"", 1033}};
  for (const Name& n : names) {
    EXPECT_EQ(LcidFromLocaleName(n.locale), n.lcid) << n.locale;
    EXPECT_EQ(LanguageIdFromLcid(LcidFromLocaleName(n.locale)).str(), std::to_string(n.lcid)) << n.locale;
  }
}

TEST(MainFrame, MiddleBandIsTheHeightLessTheStrips) {
  EXPECT_EQ(CMainFrame::MiddleBandHeight(1000), 780);
  EXPECT_EQ(CMainFrame::MiddleBandHeight(220), 0);
  EXPECT_EQ(CMainFrame::MiddleBandHeight(100), 120);
}

TEST(Tree, ItemsSlotsAndPages) {
  const auto& items = CTarnixWexletView::Items();
  std::set<int> slotSet, codes, pages;
  for (const auto& item : items) {
    EXPECT_TRUE(slotSet.insert(item.slot).second) << item.slot;
    EXPECT_TRUE(codes.insert(item.code).second) << item.code;
    if (item.viewIndex) {
      EXPECT_TRUE(pages.insert(item.viewIndex).second) << item.viewIndex;
    }
    if (item.parentCode >= 0) {
      EXPECT_NE(CTarnixWexletView::ItemByCode(item.parentCode), nullptr) << item.code;
    }
  }
  EXPECT_EQ(items.size(), 39u);
  // Every page but the two without an item (15, 33) and the missing 29.
  EXPECT_EQ(pages.size(), 33u);
  EXPECT_FALSE(pages.count(15) || pages.count(33) || pages.count(29));
  struct Group {
    int code, first;
  } groups[] = {{0, 1}, {2, 21}, {3, 31}, {4, 41}, {6, 61}, {7, 72}};
  for (const Group& g : groups) EXPECT_EQ(CTarnixWexletView::ItemByCode(g.code)->redirect, g.first);
  for (int compare : {511, 521, 531, 541}) EXPECT_FALSE(CTarnixWexletView::ItemByCode(compare)->start);
  EXPECT_TRUE(CTarnixWexletView::ItemByCode(5)->start);
  EXPECT_EQ(CTarnixWexletView::ItemByCode(24)->viewIndex, 34);  // the technician annunciator has its item
}

}  // namespace
