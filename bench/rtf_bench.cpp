// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a 5 MB lesson text in RTF, as a word processor writes it: font
// switches in groups, \'hh escapes and \uN characters with their fallbacks.

#include <benchmark/benchmark.h>

#include <string>

#include "files/rtf/rtf.h"

namespace {

std::string MakeLessonRtf(std::size_t targetBytes) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\froman\\fcharset0{\\*\\panose 02020603050405020304}Times New Roman;}"
      "{\\f2\\fnil\\fcharset204 Arial CYR;}}\r\n"
      "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
      "{\\*\\generator Bench 1.0;}\\pard\\plain\\f0\\fs20 Ti: Gro\\'dfe Lektion\\par\r\n"
      "Sp: Deutsch - English\\par\r\n";
  for (int i = 0; rtf.size() < targetBytes; ++i) {
    rtf += "\\pard\\plain{\\f1\\fs24\\b K\\u228\\'e4se ";
    rtf += std::to_string(i);
    rtf += "}{\\f0\\fs20  - }{\\f0\\fs24\\cf2\\i cheese \\u8364\\'80 Stra\\'dfe e}"
           "{\\f2\\fs20  \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}{\\f0\\fs16  (s.)}\\par\r\n";
  }
  rtf += "}\r\n";
  return rtf;
}

const std::string& LessonRtf() {
  static const std::string rtf = MakeLessonRtf(5 * 1024 * 1024);
  return rtf;
}

void BM_ParseRtf5MB(benchmark::State& state) {
  const std::string& rtf = LessonRtf();
  for (auto _ : state) {
    vocatrix::RtfDocument doc = vocatrix::ParseRtf(rtf);
    benchmark::DoNotOptimize(doc.Paragraphs.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ParseRtf5MB)->Unit(benchmark::kMillisecond);

void BM_RtfLines5MB(benchmark::State& state) {
  const std::string& rtf = LessonRtf();
  for (auto _ : state) {
    std::vector<std::string> lines = vocatrix::DocumentLines(vocatrix::ParseRtf(rtf));
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_RtfLines5MB)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State& state) {
  const vocatrix::RtfDocument doc = vocatrix::ParseRtf(LessonRtf());
  for (auto _ : state) {
    std::string out = vocatrix::WriteRtf(doc);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

}  // namespace
