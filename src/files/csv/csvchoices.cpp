// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/csv/csvchoices.h"

#include <algorithm>
#include <cstdio>

#include "base/inifile.h"
#include "files/csv/csvfile.h"

namespace vocatrix {
namespace {

constexpr char kSection[] = "Import";

// The layout of `data` read with the separator, encoding and header row of `options`.
CsvLayout LayoutOf(std::string_view data, const CsvOptions& options, const std::string& fileName) {
  CsvOptions reading;
  reading.Separator = options.Separator;
  reading.Encoding = options.Encoding;
  reading.Header = options.Header;
  return ExamineCsv(data, CsvOptionsForFile(reading, fileName), 0);
}

// "3" or "3:english|deutsch|form": names in ASCII lower case, with "%", "|"
// and the bytes that are no printable ASCII as "%XX", so that the settings
// file keeps them whatever its encoding.
std::string ShapeOf(const CsvLayout& layout) {
  std::string shape = std::to_string(layout.Columns.size());
  for (std::size_t c = 0; c < layout.ColumnNames.size(); ++c) {
    shape += c == 0 ? ':' : '|';
    for (const char ch : layout.ColumnNames[c]) {
      const auto byte = static_cast<unsigned char>(ch);
      if (byte >= ' ' && byte < 0x7F && ch != '%' && ch != '|') {
        shape += ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
      } else {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
        shape += escaped;
      }
    }
  }
  return shape;
}

}  // namespace

std::string CsvShape(std::string_view data, const CsvOptions& options, const std::string& fileName) {
  return ShapeOf(LayoutOf(data, options, fileName));
}

CsvOptions StartingCsvOptions(std::string_view data, const std::string& fileName, const KeptCsvChoices& kept) {
  if (kept.Shape.empty()) return {};
  const CsvLayout layout = LayoutOf(data, kept.Options, fileName);
  if (ShapeOf(layout) != kept.Shape) return {};
  // A header row the kept choices pass over as data would be read as an entry.
  if (layout.ColumnNames.empty() && !LayoutOf(data, {}, fileName).ColumnNames.empty()) return {};
  CsvOptions options;
  options.Separator = kept.Options.Separator;
  options.Encoding = kept.Options.Encoding;
  options.Header = kept.Options.Header;
  if (kept.Options.Columns.size() == layout.Columns.size()) options.Columns = kept.Options.Columns;
  return options;
}

KeptCsvChoices ReadKeptCsvChoices(const IniFile& settings) {
  KeptCsvChoices kept;
  kept.Shape = settings.ReadString(kSection, "Shape", std::string());
  kept.Options.Separator = SeparatorOfName(settings.ReadString(kSection, "Separator", std::string()));
  kept.Options.Encoding =
      static_cast<TextEncoding>(std::max(0, EncodingOfName(settings.ReadString(kSection, "Encoding", std::string()))));
  const std::string header = settings.ReadString(kSection, "Header", std::string());
  kept.Options.Header = header == "yes" ? HeaderRow::Yes : header == "no" ? HeaderRow::No : HeaderRow::Automatic;
  const std::string columns = settings.ReadString(kSection, "Columns", std::string());
  for (std::size_t start = 0; !columns.empty() && start <= columns.size();) {
    std::size_t end = columns.find(',', start);
    if (end == std::string::npos) end = columns.size();
    const int role = ColumnRoleOfName(columns.substr(start, end - start));
    kept.Options.Columns.push_back(role < 0 ? ColumnRole::Ignore : static_cast<ColumnRole>(role));
    start = end + 1;
  }
  return kept;
}

void WriteKeptCsvChoices(IniFile& settings, const KeptCsvChoices& kept) {
  const CsvOptions& options = kept.Options;
  settings.WriteString(kSection, "Shape", kept.Shape);
  settings.WriteString(kSection, "Separator", SeparatorName(options.Separator));
  settings.WriteString(kSection, "Encoding", EncodingName(options.Encoding));
  settings.WriteString(kSection, "Header", options.Header == HeaderRow::Yes  ? "yes"
                                           : options.Header == HeaderRow::No ? "no"
                                                                             : "");
  std::string columns;
  for (const ColumnRole role : options.Columns) columns += (columns.empty() ? "" : ",") + ColumnRoleName(role);
  settings.WriteString(kSection, "Columns", columns);
}

}  // namespace vocatrix
