// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/rtf/rtf.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "base/cp1252.h"
#include "files/rtf/rtfcodepage.h"

namespace vocatrix {
namespace {

// Groups nested deeper than this share the innermost saved state, so absurd
// nesting costs neither stack nor unbounded memory. Word processors nest a
// few dozen levels at most.
constexpr std::size_t kMaxDepth = 1024;
constexpr std::size_t kMaxFontNameBytes = 255;

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColorTable };

// What a group saves and its closing brace restores.
struct GroupState {
  int Font = -1;  // font number; -1: none selected
  int HalfPoints = 24;
  int Color = 0;  // index into the colour table; 0: automatic
  int Uc = 1;     // fallback characters after \uN
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool Deleted = false;  // tracked as deleted: no part of the text
  Dest Destination = Dest::Text;
};

enum class Kw : std::uint8_t {
  Par, Line, Row, Cell, Tab, Emdash, Endash, Lquote, Rquote, Ldblquote, Rdblquote, Bullet, Space,
  Ansi, Mac, Pc, Pca, Ansicpg, Deff,
  F, Fcharset, Cpg, Fs, Cf, B, I, Ul, Ulnone, Strike, Plain, Deleted,
  U, Uc, Bin, Red, Green, Blue,
  FontTable, ColorTable, SkipDestination,
};

const std::unordered_map<std::string_view, Kw>& Keywords() {
  static const std::unordered_map<std::string_view, Kw> table = [] {
    std::unordered_map<std::string_view, Kw> t = {
        {"par", Kw::Par}, {"line", Kw::Line}, {"sect", Kw::Par}, {"row", Kw::Row},
        {"nestrow", Kw::Row}, {"cell", Kw::Cell}, {"nestcell", Kw::Cell}, {"tab", Kw::Tab},
        {"emdash", Kw::Emdash}, {"endash", Kw::Endash}, {"lquote", Kw::Lquote},
        {"rquote", Kw::Rquote}, {"ldblquote", Kw::Ldblquote}, {"rdblquote", Kw::Rdblquote},
        {"bullet", Kw::Bullet}, {"emspace", Kw::Space}, {"enspace", Kw::Space},
        {"qmspace", Kw::Space}, {"ansi", Kw::Ansi}, {"mac", Kw::Mac}, {"pc", Kw::Pc},
        {"pca", Kw::Pca}, {"ansicpg", Kw::Ansicpg}, {"deff", Kw::Deff}, {"f", Kw::F},
        {"fcharset", Kw::Fcharset}, {"cpg", Kw::Cpg}, {"fs", Kw::Fs}, {"cf", Kw::Cf},
        {"b", Kw::B}, {"i", Kw::I}, {"ul", Kw::Ul}, {"ulnone", Kw::Ulnone},
        {"strike", Kw::Strike}, {"striked", Kw::Strike}, {"plain", Kw::Plain}, {"deleted", Kw::Deleted},
        {"u", Kw::U},
        {"uc", Kw::Uc}, {"bin", Kw::Bin}, {"red", Kw::Red}, {"green", Kw::Green},
        {"blue", Kw::Blue}, {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColorTable},
    };
    // The kinds of underline all count as underline (\ulc is its colour).
    for (const char* w : {"uld", "uldb", "ulw", "ulth", "ulwave", "uldash", "uldashd",
                          "uldashdd", "ulhwave", "ulldash", "ulthd", "ulthdash", "ulthdashd",
                          "ulthdashdd", "ulthldash", "ululdbwave"})
      t.emplace(w, Kw::Ul);
    // Destinations whose content is no part of the document's text.
    for (const char* w :
         {"stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf", "footer",
          "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor",
          "atndate", "atnref", "atntime", "fldinst", "xe", "tc", "txe", "bkmkstart", "bkmkend",
          "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "filetbl",
          "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl",
          "pgdsctbl", "objdata", "objclass", "objname", "template", "userprops", "docvar",
          "pntext", "pntxta", "pntxtb", "pn", "listtext", "nonshppict", "shp", "shpinst",
          "shptxt", "sp", "sn", "sv", "do", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc",
          "private", "falt", "fname", "panose", "title", "subject", "author", "operator",
          "keywords", "comment", "doccomm", "company", "category", "manager", "hlinkbase",
          "creatim", "revtim", "printim", "buptim", "picprop", "blipuid", "background"})
      t.emplace(w, Kw::SkipDestination);
    return t;
  }();
  return table;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Printable ASCII that is neither a brace nor a backslash: the same byte in
// every code page the reader knows, so it is copied without decoding.
bool IsPlainText(char c) {
  return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}';
}

char ToChar(int cp1252) { return cp1252 < 0 ? '?' : static_cast<char>(cp1252); }

// Bytes of a code page as Windows-1252 bytes.
std::string DecodeBytes(std::string_view bytes, const rtf::CodePageTable* table) {
  if (!table) return std::string(bytes);
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (table->Lead[b]) {
      out += i + 1 < bytes.size() ? ToChar(table->Pair(b, static_cast<unsigned char>(bytes[++i])))
                                  : '?';
    } else {
      out += ToChar(table->Single[b]);
    }
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

struct FontEntry {
  std::string Name;
  int CodePage = 0;  // 0: the document's code page
};

struct ColorEntry {
  bool Defined = false;
  TColor Value = 0;
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view data) : data_(data) { stack_.emplace_back(); }

  RtfDocument Read() {
    while (pos_ < data_.size()) {
      const char c = data_[pos_];
      if (c == '{') {
        ++pos_;
        EndFallback();
        OpenGroup();
      } else if (c == '}') {
        ++pos_;
        EndFallback();
        if (CloseGroup()) break;  // the document ends with its outermost group
      } else if (c == '\\') {
        ControlSequence();
      } else if (c == '\r' || c == '\n') {
        ++pos_;  // line breaks of the file are no part of the text
      } else {
        LiteralText();
      }
    }
    FlushLead();
    // A last paragraph left empty after the final \par adds no line.
    if (!paragraph_.empty()) document_.Paragraphs.push_back(std::move(paragraph_));
    return std::move(document_);
  }

 private:
  GroupState& State() { return stack_.back(); }

  void OpenGroup() {
    if (overflow_ > 0 || stack_.size() >= kMaxDepth) {
      ++overflow_;
      return;
    }
    stack_.push_back(stack_.back());
  }

  // True when the outermost group closed.
  bool CloseGroup() {
    if (overflow_ > 0) {
      --overflow_;
      return false;
    }
    if (stack_.size() <= 1) return false;  // a stray closing brace
    if (State().Destination == Dest::FontTable) CommitFont(false);
    stack_.pop_back();
    dirty_ = true;
    return stack_.size() == 1;
  }

  // Braces end the fallback text of \uN early and a pending lead byte.
  void EndFallback() {
    skip_ = 0;
    FlushLead();
  }

  void LiteralText() {
    if (skip_ == 0 && lead_ < 0 && State().Destination == Dest::Text) {
      std::size_t end = pos_;
      while (end < data_.size() && IsPlainText(data_[end])) ++end;
      if (end > pos_) {
        AppendText(data_.substr(pos_, end - pos_));
        pos_ = end;
        return;
      }
    }
    Byte(static_cast<unsigned char>(data_[pos_++]), true);
  }

  // One byte of text, written as it is (`literal`) or as \'hh.
  void Byte(unsigned char b, bool literal) {
    if (skip_ > 0) {
      --skip_;
      return;
    }
    switch (State().Destination) {
      case Dest::Skip:
        return;
      case Dest::FontTable:
        if (literal && b == ';') CommitFont(true);
        else if (pendingFont_ >= 0 && (b >= 0x20 || !literal) &&
                 pendingName_.size() < kMaxFontNameBytes)
          pendingName_ += static_cast<char>(b);
        return;
      case Dest::ColorTable:
        if (literal && b == ';') CommitColor();
        return;
      case Dest::Text:
        if (literal && b < 0x20 && b != '\t') return;  // stray control bytes
        DecodeTextByte(b);
        return;
    }
  }

  void DecodeTextByte(unsigned char b) {
    if (dirty_) Resolve();
    if (!table_) return AppendChar(static_cast<char>(b));
    if (lead_ >= 0) {
      const auto lead = static_cast<unsigned char>(lead_);
      lead_ = -1;
      return AppendDecoded(table_->Pair(lead, b), table_->PairCodePoint(lead, b));
    }
    if (table_->Lead[b]) {
      lead_ = b;
      return;
    }
    AppendDecoded(table_->Single[b], table_->SingleCodePoint[b]);
  }

  // A character of a code page: its Windows-1252 byte, or "?" for one
  // Windows-1252 cannot hold.
  void AppendDecoded(int cp1252, char32_t codePoint) {
    if (cp1252 >= 0) return AppendChar(static_cast<char>(cp1252));
    AppendLost(codePoint);
  }

  void AppendLost(char32_t codePoint) {
    if (State().Deleted || State().Destination != Dest::Text) return;
    AppendChar('?');
    document_.Lost.Note(codePoint);
    const std::size_t paragraph = document_.Paragraphs.size();
    if (document_.LossyParagraphs.empty() || document_.LossyParagraphs.back() != paragraph)
      document_.LossyParagraphs.push_back(paragraph);
  }

  // A lead byte without its trail byte.
  void FlushLead() {
    if (lead_ < 0) return;
    lead_ = -1;
    AppendLost(0);
  }

  void ControlSequence() {
    ++pos_;
    if (pos_ >= data_.size()) return;  // a backslash at the very end
    const char c = data_[pos_];
    if (!IsLetter(c)) {
      ++pos_;
      return ControlSymbol(c);
    }
    const std::size_t start = pos_;
    while (pos_ < data_.size() && IsLetter(data_[pos_])) ++pos_;
    const std::string_view name = data_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ + 1 < data_.size() && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    bool hasParam = false;
    std::int64_t value = 0;
    while (pos_ < data_.size() && IsDigit(data_[pos_])) {
      hasParam = true;
      if (value < 10'000'000'000) value = value * 10 + (data_[pos_] - '0');
      ++pos_;
    }
    if (pos_ < data_.size() && data_[pos_] == ' ') ++pos_;  // the delimiting space
    value = std::min<std::int64_t>(value, INT32_MAX);
    ControlWord(name, hasParam, static_cast<int>(negative ? -value : value));
  }

  void ControlSymbol(char c) {
    if (c == '\'') {
      if (pos_ + 1 < data_.size()) {
        const int hi = HexValue(data_[pos_]);
        const int lo = HexValue(data_[pos_ + 1]);
        if (hi >= 0 && lo >= 0) {
          pos_ += 2;
          Byte(static_cast<unsigned char>(hi * 16 + lo), false);
        }
      }
      return;
    }
    if (skip_ > 0) {  // a control symbol counts as one fallback character
      --skip_;
      return;
    }
    FlushLead();
    const Dest dest = State().Destination;
    if (c == '*') {
      // An ignorable destination: nothing of it is text.
      if (stack_.size() > 1 && overflow_ == 0) State().Destination = Dest::Skip;
      return;
    }
    if (dest == Dest::Skip) return;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        return Byte(static_cast<unsigned char>(c), false);
      default:
        break;
    }
    if (dest != Dest::Text) return;
    switch (c) {
      case '~': return AppendChar('\xA0');
      case '_': return AppendChar('-');  // Windows-1252 has no non-breaking hyphen
      case '\r':
      case '\n': return EndParagraph();
      default: return;  // \- optional hyphen, \: index entry, \| formula character
    }
  }

  void ControlWord(std::string_view name, bool hasParam, int param) {
    const auto& keywords = Keywords();
    const auto found = keywords.find(name);
    if (found == keywords.end()) {
      if (skip_ > 0) --skip_;
      return;
    }
    const Kw kw = found->second;
    if (kw == Kw::Bin) {
      const std::size_t left = data_.size() - pos_;
      pos_ += hasParam && param > 0 ? std::min<std::size_t>(static_cast<std::size_t>(param), left)
                                    : 0;
      if (skip_ > 0) --skip_;
      return;
    }
    if (skip_ > 0) {
      --skip_;
      return;
    }
    FlushLead();
    GroupState& s = State();
    if (s.Destination == Dest::Skip) return;
    switch (kw) {
      case Kw::FontTable: s.Destination = Dest::FontTable; return;
      case Kw::ColorTable: s.Destination = Dest::ColorTable; return;
      case Kw::SkipDestination: s.Destination = Dest::Skip; return;
      case Kw::Ansi: return SetCodePage(1252);
      case Kw::Mac: return SetCodePage(10000);
      case Kw::Pc: return SetCodePage(437);
      case Kw::Pca: return SetCodePage(850);
      case Kw::Ansicpg: return SetCodePage(hasParam && param > 0 ? param : 1252);
      case Kw::Deff:
        defaultFont_ = param;
        s.Font = param;
        dirty_ = true;
        return;
      default: break;
    }
    if (s.Destination == Dest::FontTable) return FontTableWord(kw, hasParam, param);
    if (s.Destination == Dest::ColorTable) return ColorTableWord(kw, param);
    TextWord(s, kw, hasParam, param);
  }

  void TextWord(GroupState& s, Kw kw, bool hasParam, int param) {
    const bool on = !hasParam || param != 0;
    switch (kw) {
      case Kw::Par:
      case Kw::Line:
        // A deleted paragraph mark joins its paragraph to the next.
        if (s.Deleted) return;
        return EndParagraph();
      case Kw::Row:
        // Cells end with a tab each; the row's last one is dropped.
        if (cellTab_) {
          std::string& text = paragraph_.back().Text;
          text.pop_back();
          if (text.empty()) paragraph_.pop_back();
          dirty_ = true;
        }
        document_.TableRows.push_back(document_.Paragraphs.size());
        return EndParagraph();
      case Kw::Cell:
        AppendRaw("\t");
        cellTab_ = true;
        return;
      case Kw::Tab: return AppendChar('\t');
      case Kw::Emdash: return AppendChar('\x97');
      case Kw::Endash: return AppendChar('\x96');
      case Kw::Lquote: return AppendChar('\x91');
      case Kw::Rquote: return AppendChar('\x92');
      case Kw::Ldblquote: return AppendChar('\x93');
      case Kw::Rdblquote: return AppendChar('\x94');
      case Kw::Bullet: return AppendChar('\x95');
      case Kw::Space: return AppendChar(' ');
      case Kw::F: s.Font = hasParam ? param : defaultFont_; break;
      case Kw::Fs: s.HalfPoints = hasParam && param > 0 ? std::min(param, kMaxRtfHalfPoints) : 24; break;
      case Kw::Cf: s.Color = hasParam ? param : 0; break;
      case Kw::B: s.Bold = on; break;
      case Kw::I: s.Italic = on; break;
      case Kw::Ul: s.Underline = on; break;
      case Kw::Ulnone: s.Underline = false; break;
      case Kw::Strike: s.StrikeOut = on; break;
      case Kw::Deleted: s.Deleted = on; return;
      case Kw::Plain: {
        const Dest dest = s.Destination;
        const int uc = s.Uc;
        s = GroupState{};
        s.Destination = dest;
        s.Uc = uc;
        s.Font = defaultFont_;
        break;
      }
      case Kw::U:
        if (!hasParam) return;
        Unicode(param);
        skip_ = s.Uc;
        return;
      case Kw::Uc: s.Uc = hasParam ? std::max(param, 0) : 1; return;
      default: return;
    }
    dirty_ = true;
  }

  void FontTableWord(Kw kw, bool hasParam, int param) {
    switch (kw) {
      case Kw::F:
        if (!hasParam) return;
        CommitFont(false);
        pendingFont_ = param;
        return;
      case Kw::Fcharset: pendingCharsetPage_ = rtf::CodePageOfCharset(param); return;
      case Kw::Cpg: pendingCodePage_ = param > 0 ? param : 0; return;
      default: return;
    }
  }

  void ColorTableWord(Kw kw, int param) {
    const TColor component = static_cast<TColor>(std::clamp(param, 0, 255));
    switch (kw) {
      case Kw::Red: pendingColor_ = (pendingColor_ & 0xFFFF00u) | component; break;
      case Kw::Green: pendingColor_ = (pendingColor_ & 0xFF00FFu) | (component << 8); break;
      case Kw::Blue: pendingColor_ = (pendingColor_ & 0x00FFFFu) | (component << 16); break;
      default: return;
    }
    pendingColorDefined_ = true;
  }

  // Ends a font entry: at its ";" (`terminated`), or at its group's end or the
  // next \f when a name was given without one.
  void CommitFont(bool terminated) {
    if (pendingFont_ < 0 || (!terminated && pendingName_.empty())) return;
    FontEntry entry;
    entry.CodePage = pendingCodePage_ > 0 ? pendingCodePage_ : pendingCharsetPage_;
    const rtf::CodePageTable* table = rtf::CodePageTableFor(entry.CodePage);
    entry.Name = std::string(Trim(DecodeBytes(pendingName_, table)));
    fonts_[pendingFont_] = std::move(entry);
    pendingFont_ = -1;
    pendingName_.clear();
    pendingCharsetPage_ = 0;
    pendingCodePage_ = 0;
    dirty_ = true;
  }

  void CommitColor() {
    colors_.push_back({pendingColorDefined_, pendingColor_});
    pendingColor_ = 0;
    pendingColorDefined_ = false;
    dirty_ = true;
  }

  void SetCodePage(int codePage) {
    documentCodePage_ = codePage;
    dirty_ = true;
  }

  void Unicode(int n) {
    std::int64_t cp = n < 0 ? static_cast<std::int64_t>(n) + 65536 : n;
    if (cp == 0) return;
    const bool low = cp >= 0xDC00 && cp <= 0xDFFF;
    if (low && highSurrogate_) {  // the second half of a character already written as "?"
      highSurrogate_ = false;
      return;
    }
    const bool high = cp >= 0xD800 && cp <= 0xDBFF;
    // A character beyond the basic plane (an emoji) comes as two halves;
    // the first names it, the second is passed over below.
    char32_t character = static_cast<char32_t>(cp);
    if (high && pos_ + 3 < data_.size()) character = FollowingLowSurrogate(static_cast<char32_t>(cp));
    const int b = cp > 0 && cp <= 0x10FFFF ? CodePointToCp1252(static_cast<char32_t>(cp)) : -1;
    if (b >= 0) AppendChar(static_cast<char>(b));
    else AppendLost(cp > 0 && cp <= 0x10FFFF && !(cp >= 0xDC00 && cp <= 0xDFFF) ? character : 0);
    highSurrogate_ = high;
  }

  // The character of a high surrogate and the \uN of its low half that
  // follows (after the fallback characters); the high half alone when none
  // follows.
  char32_t FollowingLowSurrogate(char32_t high) {
    std::size_t at = pos_;
    // Pass the fallback characters of the high half: "?" or \'hh each.
    for (int skip = State().Uc; skip > 0 && at < data_.size(); --skip)
      at += data_[at] == '\\' && at + 1 < data_.size() && data_[at + 1] == '\'' ? 4 : 1;
    if (at + 2 > data_.size() || data_.compare(at, 2, "\\u") != 0) return high;
    at += 2;
    bool negative = at < data_.size() && data_[at] == '-';
    if (negative) ++at;
    std::int64_t value = 0;
    while (at < data_.size() && IsDigit(data_[at]) && value < 1'000'000) value = value * 10 + (data_[at++] - '0');
    if (negative) value = 65536 - value;
    if (value < 0xDC00 || value > 0xDFFF) return high;
    return 0x10000 + ((high - 0xD800) << 10) + (static_cast<char32_t>(value) - 0xDC00);
  }

  // The current group's character format and code page, after a change.
  void Resolve() {
    const GroupState& s = State();
    RtfCharFormat f;
    int codePage = documentCodePage_;
    const auto font = fonts_.find(s.Font);
    if (font != fonts_.end()) {
      f.Face = font->second.Name;
      if (font->second.CodePage > 0) codePage = font->second.CodePage;
    }
    f.HalfPoints = s.HalfPoints;
    if (s.Color > 0 && static_cast<std::size_t>(s.Color) < colors_.size() &&
        colors_[s.Color].Defined) {
      f.HasColor = true;
      f.Color = colors_[s.Color].Value;
    }
    f.Bold = s.Bold;
    f.Italic = s.Italic;
    f.Underline = s.Underline;
    f.StrikeOut = s.StrikeOut;
    format_ = std::move(f);
    if (codePage != tableCodePage_) {
      table_ = rtf::CodePageTableFor(codePage);
      tableCodePage_ = codePage;
    }
    appendToLast_ = !paragraph_.empty() && paragraph_.back().Format == format_;
    dirty_ = false;
  }

  void AppendChar(char c) { AppendText(std::string_view(&c, 1)); }

  void AppendText(std::string_view text) {
    if (State().Deleted) return;
    AppendRaw(text);
  }

  // Text of the document's structure (a cell's tab), deleted or not.
  void AppendRaw(std::string_view text) {
    if (dirty_) Resolve();
    cellTab_ = false;
    highSurrogate_ = false;
    if (appendToLast_) {
      paragraph_.back().Text.append(text);
    } else {
      paragraph_.push_back(RtfRun{std::string(text), format_});
      appendToLast_ = true;
    }
  }

  void EndParagraph() {
    document_.Paragraphs.push_back(std::move(paragraph_));
    paragraph_.clear();
    appendToLast_ = false;
    cellTab_ = false;
  }

  std::string_view data_;
  std::size_t pos_ = 0;
  std::vector<GroupState> stack_;
  std::size_t overflow_ = 0;  // groups opened beyond kMaxDepth
  int skip_ = 0;              // fallback characters of \uN still to skip
  int lead_ = -1;             // pending lead byte of a double-byte code page
  bool highSurrogate_ = false;
  bool cellTab_ = false;  // the text ends with the tab of a \cell

  int documentCodePage_ = 1252;
  int defaultFont_ = -1;
  std::unordered_map<int, FontEntry> fonts_;
  std::vector<ColorEntry> colors_;
  int pendingFont_ = -1;
  std::string pendingName_;
  int pendingCharsetPage_ = 0;
  int pendingCodePage_ = 0;
  TColor pendingColor_ = 0;
  bool pendingColorDefined_ = false;

  bool dirty_ = true;
  RtfCharFormat format_;
  const rtf::CodePageTable* table_ = nullptr;
  int tableCodePage_ = 1252;
  bool appendToLast_ = false;

  RtfDocument document_;
  RtfParagraph paragraph_;
};

}  // namespace

RtfDocument ParseRtf(std::string_view data) { return RtfReader(data).Read(); }

}  // namespace vocatrix
