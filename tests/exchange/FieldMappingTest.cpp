// SPDX-License-Identifier: GPL-3.0-or-later
// Field mappings, their stored form, the exchange settings and the file-type list.
#include <gtest/gtest.h>

#include "ExchangeTestSupport.h"
#include "document/FieldMapping.h"
#include "document/OdbcExchange.h"
#include "settings/MemoryProfile.h"

namespace {

using Pairs = std::vector<uint16_t>;

TEST(FieldMapping, StoredTextsReadAsPairsOrDropTheMapping) {
  struct Case {
    std::string text;
    std::optional<Pairs> pairs;
  };
  const std::vector<Case> cases = {
      {"1 2,3 4", Pairs{0x0102, 0x0304}},
      {"1 2,3 x", std::nullopt},
      {"", Pairs{}},
      {"0 1", Pairs{0x0001}},
      {" 10  20 , 255 0", Pairs{0x0A14, 0xFF00}},
      {"1 2,", std::nullopt},  // a comma promises one more pair
      {"7", std::nullopt},
      {"1 2 junk", Pairs{0x0102}},  // what follows the two numbers is not read
  };
  for (const Case& c : cases) EXPECT_EQ(ParsePairs(c.text), c.pairs) << "[" << c.text << "]";
}

TEST(FieldMapping, PairsAreWrittenAsDecimalPairsJoinedByCommas) {
  EXPECT_EQ(FormatPairs({0x0102, 0x0304}), "1 2,3 4");
  EXPECT_EQ(FormatPairs({0xFF00}), "255 0");
  EXPECT_EQ(FormatPairs({}), "");
}

TEST(FieldMapping, MappingZeroIsOneToOneWithSurplusSourcesInTheLastTarget) {
  EXPECT_EQ(OneToOnePairs(3, 3), (Pairs{0x0000, 0x0101, 0x0202}));
  EXPECT_EQ(OneToOnePairs(4, 2), (Pairs{0x0000, 0x0101, 0x0201, 0x0301}));
  EXPECT_EQ(OneToOnePairs(2, 0), Pairs{});
}

TEST(FieldMapping, OnlyTheFirstPairOfASourceAndOnlyPairsInRangeAreUsed) {
  struct Case {
    const char* name;
    Pairs pairs;
    int sources, fields;
    std::vector<MappingPair> used;
  };
  const std::vector<Case> cases = {
      {"swap", {0x0001, 0x0100}, 9, 9, {{0, 1}, {1, 0}}},
      {"second pair of a source", {0x0001, 0x0002, 0x0102}, 9, 9, {{0, 1}, {1, 2}}},
      {"target beyond the fields", {0x0009}, 9, 9, {}},
      {"source beyond the sources", {0x0300, 0x0100}, 3, 9, {{1, 0}}},
      // The first pair of source 0 is out of range, and it still hides the second.
      {"first out of range", {0x0009, 0x0001}, 9, 9, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(UsedPairs(c.pairs, c.sources, c.fields), c.used) << c.name;
}

TEST(FieldMapping, TheListStartsWithAllFieldsAndFindsNamesWithoutRegardToCase) {
  FieldMappings mappings;
  ASSERT_EQ(mappings.Count(), 1);
  EXPECT_EQ(mappings[0].name, W("Všechna pole"));
  mappings.Add({W("Výběr"), {0x0001}});
  EXPECT_EQ(mappings.Find(W("VŠECHNA POLE")), 0);
  EXPECT_EQ(mappings.Find(W("výBĚR")), 1);
  EXPECT_EQ(mappings.Find("jiné"), -1);
  mappings.Remove(0);  // the built-in mapping stays
  EXPECT_EQ(mappings.Count(), 2);
  mappings.Remove(1);
  EXPECT_EQ(mappings.Count(), 1);
}

TEST(FieldMapping, TheMappingsSectionIsReadInOrderAndBadMappingsDropped) {
  MemoryProfile profile;
  profile.writeString("Mappings", "Prvni", "0 1,1 0");
  profile.writeString("Mappings", "Spatne", "1 2,3 x");
  profile.writeString("Mappings", "Prazdne", "");
  profile.writeString("Mappings", "Druhe", "2 2");
  FieldMappings mappings;
  mappings.Load(profile);
  ASSERT_EQ(mappings.Count(), 4);
  EXPECT_EQ(mappings[1].name, "Prvni");
  EXPECT_EQ(mappings[1].pairs, (Pairs{0x0001, 0x0100}));
  EXPECT_EQ(mappings[2].name, "Prazdne");
  EXPECT_EQ(mappings[2].pairs, Pairs{});
  EXPECT_EQ(mappings[3].name, "Druhe");
}

TEST(FieldMapping, SavingRewritesTheWholeSectionWithoutMappingZero) {
  MemoryProfile profile;
  profile.writeString("Mappings", "Stara", "5 5");
  FieldMappings mappings;
  mappings[0].pairs = {0x0000};  // rebuilt before each use, never stored
  mappings.Add({"A", {0x0001, 0x0100}});
  mappings.Add({"B", {}});
  ASSERT_TRUE(mappings.Save(profile));
  EXPECT_EQ(profile.valueNames("Mappings"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(profile.getString("Mappings", "A", "?"), "0 1,1 0");
  EXPECT_EQ(profile.getString("Mappings", "B", "?"), "");
}

TEST(FieldMapping, SettingsHaveTheirDefaults) {
  MemoryProfile profile;
  ExchangeSettings settings;
  settings.exportMapping = 5;
  settings.Load(profile);
  EXPECT_EQ(settings.exportMapping, 0);
  EXPECT_EQ(settings.importMapping, 0);
  EXPECT_EQ(settings.exportDriver, "");
  EXPECT_EQ(settings.importDriver, "");
  EXPECT_EQ(settings.mergeChar, 0);
  EXPECT_EQ(settings.mappings.Count(), 1);
}

TEST(FieldMapping, SettingsGoBackAsTheyWereRead) {
  MemoryProfile profile;
  profile.writeString("Mappings", "Jmena", "0 0");
  profile.writeString("Duxel", "ImportMapping", "JMENA");
  profile.writeString("Duxel", "ExportMapping", "neni");  // not found: mapping 0
  profile.writeString("Duxel", "ImportDriver", "Duxel Text Driver (*.txt; *.csv)");
  profile.writeString("Duxel", "MapMergeChar", "1");
  ExchangeSettings settings;
  settings.Load(profile);
  EXPECT_EQ(settings.importMapping, 1);
  EXPECT_EQ(settings.exportMapping, 0);
  EXPECT_EQ(settings.importDriver, "Duxel Text Driver (*.txt; *.csv)");
  EXPECT_EQ(settings.mergeChar, 1);

  MemoryProfile saved;
  ASSERT_TRUE(settings.Save(saved));
  EXPECT_EQ(saved.valueNames("Duxel"), (std::vector<std::string>{"ImportMapping", "ExportMapping",
                                                                 "ImportDriver", "MapMergeChar"}));
  EXPECT_EQ(saved.getString("Duxel", "ImportMapping", ""), "Jmena");
  EXPECT_EQ(saved.getString("Duxel", "ExportMapping", ""), W("Všechna pole"));
  EXPECT_EQ(saved.getString("Mappings", "Jmena", ""), "0 0");

  MemoryProfile readOnly;
  readOnly.setFailWrites(true);
  EXPECT_FALSE(settings.Save(readOnly));
}

TEST(FileTypes, TheFilterListsDriversThatNameTheirFiles) {
  const ExchangeFileTypes t = BuildFileTypes({
      "Duxel Text Driver (*.txt; *.csv)",
      "PostgreSQL Unicode",                        // no parentheses: not a file driver
      "Microsoft Access Driver (*.mdb, *.accdb)",  // a comma becomes ";", an extension keeps 3
                                                   // letters
      "HTML Driver (*.html)",
      "Dotless Driver (all files)",  // no dot: left out
  });
  EXPECT_EQ(t.filter,
            "Duxel Text Driver (*.txt; *.csv)|*.txt;*.csv|"
            "Microsoft Access Driver (*.mdb; *.accdb)|*.mdb;*.acc|"
            "HTML Driver (*.html)|*.htm||");
  ASSERT_EQ(t.types.size(), 3u);
  EXPECT_EQ(t.types[1].text, "Microsoft Access Driver (*.mdb; *.accdb)");
  EXPECT_EQ(t.types[1].driver, "Microsoft Access Driver (*.mdb, *.accdb)");
  EXPECT_EQ(t.types[1].patterns, "*.mdb;*.acc");
}

TEST(FileTypes, NoFileDriverGivesAnEmptyFilter) {
  EXPECT_EQ(BuildFileTypes({}).filter, "");
  EXPECT_EQ(BuildFileTypes({"SQLite3", "MariaDB"}).filter, "");
}

TEST(FileTypes, TheFilterStaysWithinItsBuffer) {
  std::vector<std::string> drivers;
  for (int i = 0; i < 300; ++i) drivers.push_back("Driver " + std::to_string(i) + " (*.txt)");
  const ExchangeFileTypes t = BuildFileTypes(drivers);
  EXPECT_LT(t.filter.size(), 5120u);
  EXPECT_GT(t.types.size(), 100u);
  EXPECT_LT(t.types.size(), 300u);
  EXPECT_EQ(t.filter.substr(t.filter.size() - 2), "||");
}

TEST(FileTypes, TheDefaultExtensionComesFromTheLastPattern) {
  EXPECT_EQ(DefaultExtension("Duxel Text Driver (*.txt; *.csv)"), "csv");
  EXPECT_EQ(DefaultExtension("Microsoft Excel Driver (*.xls)"), "xls");
  EXPECT_EQ(DefaultExtension("HTML Driver (*.html)"), "");
  EXPECT_EQ(DefaultExtension("Plain"), "");
}

TEST(FileTypes, ABlankInTheFileNameIsNoticedButNotInItsFolder) {
  EXPECT_TRUE(FileNameHasBlank("/home/user/moje kontakty.csv"));
  EXPECT_FALSE(FileNameHasBlank("/home/user/Moje dokumenty/kontakty.csv"));
  EXPECT_TRUE(FileNameHasBlank("a b.csv"));
  EXPECT_FALSE(FileNameHasBlank("kontakty.csv"));
}

}  // namespace
