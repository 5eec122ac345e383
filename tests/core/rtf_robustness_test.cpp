// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "files/rtf/rtf.h"
#include "rtf_samples.h"

namespace vocatrix {
namespace {

using Lines = std::vector<std::string>;

// What every parse result must satisfy: no empty runs, and neighbouring runs
// differ in format (equal ones are merged).
void ExpectWellFormed(const RtfDocument& doc, const std::string& what) {
  for (const RtfParagraph& p : doc.Paragraphs) {
    for (std::size_t i = 0; i < p.size(); ++i) {
      EXPECT_FALSE(p[i].Text.empty()) << what;
      if (i > 0) {
        EXPECT_FALSE(p[i].Format == p[i - 1].Format) << what;
      }
    }
  }
}

TEST(RtfRobustness, AbsurdNestingNeitherOverflowsNorLosesText) {
  const std::string opening(100000, '{');
  const std::string closing(100000, '}');
  EXPECT_EQ(DocumentLines(ParseRtf("{\\rtf1 " + opening + "deep\\par")), Lines{"deep"});
  EXPECT_EQ(DocumentLines(ParseRtf("{\\rtf1 a" + opening + "b" + closing + "c\\par}after")),
            Lines{"abc"});
  // Formats still follow the groups that fit the saved-state stack.
  const RtfDocument doc = ParseRtf("{\\rtf1 {\\b x" + opening + closing + "}y}");
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  ASSERT_EQ(doc.Paragraphs[0].size(), 2u);
  EXPECT_TRUE(doc.Paragraphs[0][0].Format.Bold);
  EXPECT_FALSE(doc.Paragraphs[0][1].Format.Bold);
}

TEST(RtfRobustness, UnbalancedBracesAndTruncation) {
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"{\\rtf1 a}}}b", {"a"}},
      {"{\\rtf1 {{{a\\par b", {"a", "b"}},
      {"{\\rtf1 }}}}", {}},
      {"{\\rtf1 a\\", {"a"}},
      {"{\\rtf1 a\\'", {"a"}},
      {"{\\rtf1 a\\'e", {"ae"}},
      {"{\\rtf1 a\\'zz", {"azz"}},
      {"{\\rtf1 a\\u", {"a"}},
      {"{\\rtf1 a\\u-", {"a-"}},
      {"{\\rtf1 a\\bin99999999 bcd", {"a"}},
      {"{\\rtf1 a\\bin-5 b}", {"ab"}},
      {"{\\rtf1 a\\fs99999999999999999999 b}", {"ab"}},
      {"{\\rtf1 a{\\*", {"a"}},
      {"{\\rtf1{\\fonttbl{\\f0 Arial", {}},
      {"{\\rtf1{\\colortbl\\red300\\green-4;}\\cf1 a}", {"a"}},
  };
  for (const auto& [rtf, expected] : cases) {
    const RtfDocument doc = ParseRtf(rtf);
    EXPECT_EQ(DocumentLines(doc), expected) << rtf;
    ExpectWellFormed(doc, rtf);
  }
}

TEST(RtfRobustness, EveryPrefixOfRealDocumentsParses) {
  for (const char* sample : {test::kLibreOfficeSample, test::kWordPadSample, test::kWordSample}) {
    const std::string full = sample;
    const Lines whole = DocumentLines(ParseRtf(full));
    for (std::size_t n = 0; n <= full.size(); ++n) {
      const std::string prefix = full.substr(0, n);
      const RtfDocument doc = ParseRtf(prefix);
      ExpectWellFormed(doc, prefix);
      // Paragraphs that the prefix completed are those of the whole document.
      const Lines lines = DocumentLines(doc);
      ASSERT_LE(lines.size(), whole.size()) << prefix;
      for (std::size_t i = 0; i + 1 < lines.size(); ++i) ASSERT_EQ(lines[i], whole[i]) << prefix;
    }
  }
}

TEST(RtfRobustness, RandomGarbageGivesAResult) {
  std::mt19937 random(7);
  // Bytes that steer the reader most, mixed with anything at all.
  const std::string alphabet = "{}\\\\\\'*0123456789-abfilpsrtuc; \r\n\xE4\x82";
  for (int round = 0; round < 500; ++round) {
    std::string data = round % 2 ? "{\\rtf1 " : "";
    const std::size_t length = random() % 400;
    for (std::size_t i = 0; i < length; ++i)
      data += random() % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    const RtfDocument doc = ParseRtf(data);
    ExpectWellFormed(doc, data);
  }
}

TEST(RtfRobustness, MutatedSamplesGiveAResult) {
  std::mt19937 random(11);
  const std::string sample = test::kWordSample;
  for (int round = 0; round < 300; ++round) {
    std::string data = sample;
    for (int k = 0; k < 8; ++k) data[random() % data.size()] = static_cast<char>(random() % 256);
    ExpectWellFormed(ParseRtf(data), "mutation round " + std::to_string(round));
  }
}

}  // namespace
}  // namespace vocatrix
