#include "support/LogGenerator.h"

#include <random>
#include <vector>

#include "common/TextCodec.h"

namespace skribo::test {

namespace {

using Strings = std::vector<std::u16string>;

// Own distributions on top of mt19937, whose output the standard fixes: the library's
// distributions differ between implementations.
class TRandom {
 public:
  explicit TRandom(uint32_t seed) : Engine(seed) {}
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : uint32_t((uint64_t(Engine()) * n) >> 32); }
  uint32_t Between(uint32_t lo, uint32_t hi) { return lo + Below(hi - lo + 1); }
  bool Percent(uint32_t p) { return Below(1000) < p * 10; }
  bool PerMille(uint32_t p) { return Below(1000) < p; }
  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[Below(uint32_t(v.size()))];
  }

 private:
  std::mt19937 Engine;
};

const std::u16string kBorder = u"." + std::u16string(68, u'-') + u".";

// Participant names: some contain others, some need entities, some are long enough to be
// shortened, one puts a surrogate pair across a ten-unit cut.
const Strings kNames = {u"Ann",
                        u"Anna",
                        u"Bob",
                        u"Bobby",
                        u"Carla",
                        u"Dave",
                        u"Tom & Jerry",
                        u"Zoë",
                        u"Jürgen Müller",
                        u"Élodie",
                        u"Alexandrina Smith",
                        u"Mary Jane",
                        u"李小龙",
                        u"Smiley 😀",
                        u"Abcdefghi😀x",
                        u"O'Brien",
                        u"\"Quoted\"",
                        u"Fred<3",
                        u"ßtraße",
                        u"Niña Peña",
                        u"Ed",
                        u"Edward",
                        u"R2D2",
                        u"Ann-Marie",
                        u"Kelvin"};
const Strings kRealisticNames = {u"Ann",       u"Anna",      u"Bob",           u"Carla",
                                 u"Dave",      u"Edward",    u"Jürgen Müller", u"Alexandrina Smith",
                                 u"Mary Jane", u"Niña Peña", u"Tom & Jerry",   u"Zoë"};

const Strings kWords = {
    u"hello",   u"yes",  u"no",    u"ok",      u"meeting", u"tomorrow", u"see",     u"you",
    u"later",   u"the",  u"file",  u"is",      u"ready",   u"thanks",   u"what",    u"about",
    u"lunch",   u"I",    u"think", u"so",      u"maybe",   u"great",    u"sounds",  u"good",
    u"let",     u"me",   u"check", u"sure",    u"why",     u"not",      u"call",    u"now",
    u"please",  u"send", u"it",    u"again",   u"where",   u"are",      u"we",      u"going",
    u"tonight", u"home", u"work",  u"project", u"done",    u"nice",     u"weekend", u"time",
    u"haha",    u"lol",  u"brb",   u"really",  u"cool",    u"wait",     u"a",       u"minute"};
const Strings kAccented = {u"café",   u"naïve", u"über",  u"señor",
                           u"façade", u"Øre",   u"crème", u"déjà vu"};

// Emoticon codes as typed, covering the whole table.
const Strings kEmoticons = {
    u":)",    u":-)",  u":d",   u":-d",  u"(&)",  u"<:o)",  u":p",   u":-p",  u"(h)",  u":@",
    u":-@",   u":$",   u":-$",  u":s",   u":-s",  u":(",    u":-(",  u":'(",  u":|",   u":-|",
    u"(6)",   u"(a)",  u"(l)",  u"(u)",  u"(m)",  u"(@)",   u";)",   u";-)",  u"(s)",  u"(*)",
    u"(~)",   u"(8)",  u"(e)",  u"(f)",  u"(w)",  u"(o)",   u"(k)",  u"(g)",  u"(^)",  u"(p)",
    u"(i)",   u"(c)",  u"(t)",  u"({)",  u"(})",  u"(b)",   u"(d)",  u"(z)",  u"(x)",  u"(y)",
    u"(n)",   u":[",   u":-[",  u"(?)",  u"(%)",  u"(#)",   u"(r)",  u":-#",  u"8o|",  u"8-|",
    u"^o)",   u":-*",  u"+o(",  u"(sn)", u"(tu)", u"(pl)",  u"(||)", u"(pi)", u"(so)", u"(au)",
    u"(ap)",  u"(um)", u"(ip)", u"(co)", u"(mp)", u"(brb)", u"(st)", u"(yn)", u"(h5)", u"(mo)",
    u"(bah)", u":^)",  u"*-)",  u"(li)", u":o",   u":-o",   u"8-)",  u"(ci)", u"|-)",  u"(xx)"};
const Strings kCommonEmoticons = {u":)",  u":-)", u":D",  u";)", u":(",  u":P",
                                  u"(y)", u":-D", u"(a)", u":o", u"(L)", u":$"};
// Codes next to or inside each other, and codes that meet entity references.
const Strings kEmoticonTraps = {u"+o(a)",   u"(&)",     u"<:o)", u":-)",      u":):)",     u":-))",
                                u"(Café)",  u"é;)",     u"&;)",  u"(\u212A)", u"(\u017F)", u";;))",
                                u"(&amp;)", u"&lt;:o)", u"8-|)", u"(brb)(a)", u":-(:)",    u"<;)>",
                                u"(((h)))", u"\"(a)\"", u">:o)", u"(ß)"};

const Strings kLinks = {u"www.x.com",
                        u"http://x.com/a?b=1",
                        u"(http://x.com/a?b=1).",
                        u"<bob@x.com>",
                        u"\"www.x.com\"",
                        u"mailto:bob@x.com",
                        u"a@b",
                        u"@home",
                        u"bob@x.com",
                        u"https://ex.org/path/",
                        u"ftp://files.x.org",
                        u"ftp.x.org",
                        u"file://c/tmp/a.txt",
                        u"news://n.x.org",
                        u"nntp://n.x.org",
                        u"gopher://g.x.org",
                        u"gopher.x.org",
                        u"telnet://t.x.org",
                        u"wais://w.x.org",
                        u"irc://irc.x.net/chan",
                        u"irc.x.net",
                        u"http://user@x.com/",
                        u"HTTP://CAPS.COM",
                        u"WWW.CAPS.COM",
                        u"www.x.com/(a)",
                        u"http://x.com/é",
                        u"http://x.com,",
                        u"x@y.z.",
                        u"http://x.com/?",
                        u"bob@x.com;",
                        u"<http://x.com>",
                        u"«www.x.com»",
                        u"Àwww.x.com",
                        u"www.x.com\u00A0",
                        u"MAILTO:bob@x.com",
                        u"www.",
                        u"http://",
                        u"@",
                        u".a@b",
                        u"[www.x.com]",
                        u"http://x.com/&amp;",
                        u"anna@x.com:",
                        u"\twww.x.com",
                        u"www.x.com\t"};
const Strings kRealisticLinks = {u"www.example.com",           u"http://example.com/page?id=7",
                                 u"https://example.org/docs/", u"ann@example.com",
                                 u"(http://example.net/a).",   u"ftp.example.com"};

// Fragments for stress content.
const Strings kOdd = {
    u"  ",     u"   ",    u"&",       u"&amp;", u"&lt;",  u"\"",       u"'",          u"<b>",
    u"</b>",   u"<",      u">",       u"é",     u"ÿ",     u"\u00A0",   u"\u0080",     u"\u0081",
    u"\u009D", u"€",      u"漢字",    u"😀",     u"\tTab", u"&eacute;", u"&#59;",      u"ſ",
    u"\xD800", u"\xDC00", u"\r",      u"\n",    u"\n\r",  u"\u2028",   u"\r\n\u2028", u"\u2028\r",
    u"\t",     u"* ",     u"[12:00]", u"|    ", u"| ",    u"\u00AD",   u"%s"};

const Strings kDays = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                       u"Friday", u"Saturday", u"Sunday"};
const Strings kMonths = {u"January",   u"February", u"March",    u"April",
                         u"May",       u"June",     u"July",     u"August",
                         u"September", u"October",  u"November", u"December"};

std::u16string Num(uint32_t v, int width) {
  std::u16string s;
  do {
    s.insert(s.begin(), char16_t(u'0' + v % 10));
    v /= 10;
  } while (v != 0);
  while (int(s.size()) < width)
    s.insert(s.begin(), u'0');
  return s;
}

// A header line: padded with blanks to column 69, "|" in column 70.
std::u16string BoxLine(const std::u16string& text) {
  std::u16string s = text;
  if (s.size() < 69) s.append(69 - s.size(), u' ');
  return s + u"|";
}

std::u16string RandomCase(TRandom& rng, const std::u16string& s) {
  std::u16string out = s;
  for (auto& c : out)
    if (c >= u'a' && c <= u'z' && rng.Percent(50)) c = char16_t(c - 32);
  return out;
}

std::u16string Replace(std::u16string s, const std::u16string& from, const std::u16string& to) {
  for (size_t at = s.find(from); at != std::u16string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

std::u16string FillPattern(const std::u16string& pattern, const std::u16string& oldName,
                           const std::u16string& newName) {
  std::u16string s = pattern;
  size_t at = s.find(u"%s");
  if (at == std::u16string::npos) return s;
  s.replace(at, 2, oldName);
  at = s.find(u"%s", at + oldName.size());
  if (at != std::u16string::npos) s.replace(at, 2, newName);
  return s;
}

class TGenerator {
 public:
  TGenerator(uint32_t seed, const TLogGenOptions& o)
      : Rng(seed), Options(o), Stress(!o.RealisticOnly) {}

  std::string Run();

 private:
  enum TTimeStyle { Seconds, Minutes, DateTime, NoTime };

  struct TParticipant {
    std::u16string Written;  // the name as its messages show it, renamed on a name change
  };

  TRandom Rng;
  const TLogGenOptions& Options;
  const bool Stress;
  Strings Lines;
  size_t Units = 0;
  std::vector<TParticipant> People;
  TTimeStyle TimeStyle = Seconds;
  uint32_t Clock = 0;
  uint32_t Day = 1;

  void Add(const std::u16string& line) {
    Units += line.size() + 2;
    Lines.push_back(line);
  }
  size_t BytesPerUnit(TLogEncoding e) const {
    return e == TLogEncoding::Utf16LE || e == TLogEncoding::Utf16BE ? 2 : 1;
  }

  void Conversation();
  void HeaderBox();
  std::u16string Timestamp();
  std::u16string Message(size_t words);
  std::u16string Fragment();
  void BodyLine();
  std::u16string NewName(const std::u16string& old);
  std::string Encode(const std::u16string& text, TLogEncoding e) const;
};

std::u16string TGenerator::Timestamp() {
  Clock += Rng.Between(1, 90);
  const uint32_t h = Clock / 3600 % 24, m = Clock / 60 % 60, s = Clock % 60;
  switch (TimeStyle) {
    case Seconds:
      return u"[" + Num(h, 2) + u":" + Num(m, 2) + u":" + Num(s, 2) + u"] ";
    case Minutes:
      return u"[" + Num(h, 2) + u":" + Num(m, 2) + u"] ";
    case DateTime:
      return u"[" + Num(Day % 28 + 1, 2) + u"." + Num(Day % 12 + 1, 2) + u".2008 " + Num(h, 2) +
             u":" + Num(m, 2) + u":" + Num(s, 2) + u"] ";
    case NoTime:
      break;
  }
  return {};
}

void TGenerator::HeaderBox() {
  Add(Stress && Rng.Percent(3) ? kBorder + u"-- trailing text" : kBorder);
  ++Day;
  if (Rng.Percent(70))
    Add(BoxLine(u"| Session Start: " + kDays[Day % 7] + u", " + Num(Day % 28 + 1, 0) + u" " +
                kMonths[Day % 12] + u" 2008"));
  else
    Add(BoxLine(u"| Session Start: " + Num(Day % 28 + 1, 2) + u"." + Num(Day % 12 + 1, 2) +
                u".2008 " + Num(Rng.Below(24), 2) + u":00:00"));
  Add(BoxLine(u"| Participants:"));

  People.clear();
  uint32_t count =
      Stress ? (Rng.Percent(12) ? Rng.Between(11, 14) : Rng.Between(1, 6)) : Rng.Between(2, 4);
  const Strings& pool = Stress ? kNames : kRealisticNames;
  const bool annAndAnna = Stress && Rng.Percent(15);
  for (uint32_t k = 0; k < count; ++k) {
    std::u16string name = Rng.Pick(pool);
    if (annAndAnna && k < 2) name = (k == 0) == (Day % 2 == 0) ? u"Ann" : u"Anna";
    if (Rng.Percent(25)) name += Num(k, 0);  // names repeat across and within conversations
    std::u16string address = Replace(Replace(name, u" ", u"."), u"&", u"and") + u"@example.com";
    std::u16string shown = name;
    uint32_t form = Stress ? Rng.Below(100) : 99;
    if (form < 8) {
      Add(BoxLine(u"|    " + name));  // no "(": the name runs up to the right border
    } else if (form < 14) {
      Add(BoxLine(u"|    ..." + name + u" (" + address + u")"));
    } else if (form < 17) {
      Add(BoxLine(u"|    " + name + u" (work) (" + address + u")"));
      shown = name + u" (work)";
    } else if (form < 19) {
      Add(BoxLine(u"|    (" + address + u")"));  // an empty name attributes nothing
    } else {
      Add(BoxLine(u"|    " + name + u" (" + address + u")"));
    }
    People.push_back({shown});
  }
  Add(kBorder);
}

std::u16string TGenerator::Fragment() {
  uint32_t kind = Rng.Below(100);
  if (kind < 30) return RandomCase(Rng, Rng.Pick(kEmoticons));
  if (kind < 45) return Rng.Pick(kEmoticonTraps);
  if (kind < 70) return Rng.Pick(kLinks);
  if (kind < 78 && !People.empty()) return Rng.Pick(People).Written;
  if (kind < 82) return Rng.Pick(kAccented);
  if (kind < 88) return std::u16string(1, char16_t(Rng.Between(128, 255)));
  return Rng.Pick(kOdd);
}

std::u16string TGenerator::Message(size_t words) {
  std::u16string text;
  for (size_t w = 0; w < words; ++w) {
    if (w > 0) text += Stress && Rng.Percent(8) ? u"  " : u" ";
    if (Stress && Rng.Percent(25)) {
      // Fragments sometimes glue to their neighbours.
      if (Rng.Percent(30) && !text.empty()) text.pop_back();
      text += Fragment();
    } else if (!Stress && Rng.Percent(4)) {
      text += RandomCase(Rng, Rng.Pick(kCommonEmoticons));
    } else if (!Stress && Rng.PerMille(15)) {
      text += Rng.Pick(kRealisticLinks);
    } else if (!Stress && Rng.PerMille(15)) {
      text += Rng.Pick(kAccented);
    } else if (!Stress && Rng.PerMille(5)) {
      text += Rng.Percent(50) ? u"&" : u"\"quoted\"";
    } else {
      text += Rng.Pick(kWords);
    }
  }
  if (Rng.Percent(30)) text += Rng.Pick(Strings{u".", u"?", u"!", u"...", u","});
  return text;
}

std::u16string TGenerator::NewName(const std::u16string& old) {
  // Stress logs may rename someone to another participant's name.
  switch (Rng.Below(Stress ? 5 : 4)) {
    case 0:
      return old + u" (away)";
    case 1:
      return old + u"_" + Num(Rng.Below(100), 0);
    case 4:
      return Rng.Pick(kNames);
    case 3:
      return u"Mr. " + old;
    default:
      return old + u" Lee";  // the new name holds the old one
  }
}

void TGenerator::BodyLine() {
  const bool timed = TimeStyle != NoTime && !(Stress && Rng.Percent(3));
  const std::u16string ts = timed ? Timestamp() : std::u16string();
  // Upper bounds (per mille) of the line kinds: message, stranger, announcement, name change,
  // continued message, plain line, empty line; the rest are odd lines (or messages).
  static constexpr uint32_t kStress[] = {600, 640, 700, 760, 840, 890, 940};
  static constexpr uint32_t kRealistic[] = {800, 810, 830, 835, 900, 930, 970};
  const uint32_t* bound = Stress ? kStress : kRealistic;
  const uint32_t kind = Rng.Below(1000);
  const bool havePeople = !People.empty();
  if (kind < bound[0] && havePeople) {
    const auto& sender = Rng.Pick(People).Written;
    Add(ts + sender + u": " + Message(Rng.Between(1, 14)));
  } else if (kind < bound[1]) {
    // A sender outside the box, who may mention a participant anywhere in the line.
    std::u16string msg = Message(Rng.Between(1, 25));
    if (havePeople && Rng.Percent(70)) msg += u" " + Rng.Pick(People).Written;
    Add(ts + u"Stranger: " + msg);
  } else if (kind < bound[2] && havePeople) {
    Add(ts + u"* " + Rng.Pick(People).Written +
        Rng.Pick(Strings{u" has joined the conversation.", u" has left the conversation.",
                         u" sends a file: notes.txt", u" is away :)"}));
  } else if (kind < bound[3] && havePeople && !Options.NameChangePattern.empty()) {
    auto& who = People[Rng.Below(uint32_t(People.size()))];
    const std::u16string renamed = NewName(who.Written);
    Add(ts + u"* " + FillPattern(Options.NameChangePattern, who.Written, renamed));
    who.Written = renamed;
  } else if (kind < bound[4]) {
    // A message that runs over several lines; tab-led lines are not continuations.
    Add(ts + (havePeople ? Rng.Pick(People).Written : u"Someone") + u": " + Message(5));
    for (uint32_t n = Rng.Between(1, 3); n > 0; --n) {
      uint32_t c = Rng.Below(10);
      if (c < 6)
        Add(std::u16string(Rng.Between(1, 8), u' ') + Message(Rng.Between(1, 8)) +
            (Stress && c == 5 ? u"\t " : u""));
      else if (c < 8)
        Add(std::u16string(Rng.Between(1, 4), u' '));
      else
        Add(u"\t" + Message(3));
    }
  } else if (kind < bound[5]) {
    Add(Message(Rng.Between(1, 10)));  // a line without time or name
  } else if (kind < bound[6]) {
    Add(u"");
  } else if (Stress) {
    switch (Rng.Below(7)) {
      case 0:
        Add(u".-----.");
        break;
      case 1:
        Add(BoxLine(u"| a header text line outside the box"));
        break;
      case 2:
        Add(u"[no closing bracket " + Message(4));
        break;
      case 3:
        Add(u"|    Late Joiner (late@example.com)");
        People.push_back({u"Late Joiner"});
        break;
      case 4:
        if (havePeople)
          Add(ts + u"Stranger: " + std::u16string(110, u'x') + u" " + People[0].Written);
        break;
      case 5:
        Add(ts + u"*" + (havePeople ? People[0].Written : u"x"));  // star without a blank
        break;
      default:
        Add(u"(" + Message(3) + u") [12:00:00] " + (havePeople ? People[0].Written : u"") + u":");
        break;
    }
  } else {
    Add(ts + (havePeople ? People[0].Written : u"Ann") + u": " + Message(6));
  }
  if (Stress && Options.LongLines && Rng.PerMille(4)) {
    std::u16string longLine = ts + (havePeople ? People[0].Written : u"Ann") + u": ";
    while (longLine.size() < 20000 + Rng.Below(30000))
      longLine += Message(10) + u" ";
    Add(longLine);
  }
}

void TGenerator::Conversation() {
  const uint32_t styles = Stress ? 4 : 3;
  TimeStyle = TTimeStyle(Rng.Below(styles));
  Clock = Rng.Below(86400);
  HeaderBox();
  const uint32_t lines = Stress ? Rng.Between(3, 40) : Rng.Between(10, 120);
  for (uint32_t i = 0; i < lines; ++i)
    BodyLine();
}

std::string TGenerator::Encode(const std::u16string& text, TLogEncoding e) const {
  std::string bytes;
  switch (e) {
    case TLogEncoding::Utf16LE:
    case TLogEncoding::Utf16BE: {
      const bool be = e == TLogEncoding::Utf16BE;
      bytes = be ? "\xFE\xFF" : "\xFF\xFE";
      for (char16_t c : text) {
        const char hi = char(c >> 8), lo = char(c & 0xFF);
        bytes += be ? hi : lo;
        bytes += be ? lo : hi;
      }
      return bytes;
    }
    case TLogEncoding::Utf8: {
      bytes = "\xEF\xBB\xBF";
      // Lone surrogates are written as their three-byte forms, which a decoder must reject.
      for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
          c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
          bytes += char(c);
        } else if (c < 0x800) {
          bytes += char(0xC0 | c >> 6);
          bytes += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
          bytes += char(0xE0 | c >> 12);
          bytes += char(0x80 | (c >> 6 & 0x3F));
          bytes += char(0x80 | (c & 0x3F));
        } else {
          bytes += char(0xF0 | c >> 18);
          bytes += char(0x80 | (c >> 12 & 0x3F));
          bytes += char(0x80 | (c >> 6 & 0x3F));
          bytes += char(0x80 | (c & 0x3F));
        }
      }
      return bytes;
    }
    default:
      for (size_t i = 0; i < text.size(); ++i) {
        // A pair is one character that the code page cannot hold: one "?".
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
          ++i;
        bytes += char(ToWindows1252(text[i]));
      }
      return bytes;
  }
}

std::string TGenerator::Run() {
  TLogEncoding encoding = Options.Encoding;
  if (encoding == TLogEncoding::Random)
    encoding = Rng.Pick(std::vector<TLogEncoding>{TLogEncoding::Utf16LE, TLogEncoding::Utf16BE,
                                                  TLogEncoding::Utf8, TLogEncoding::Windows1252});
  const size_t targetUnits = Options.TargetBytes / BytesPerUnit(encoding);
  do
    Conversation();
  while (Units < targetUnits);

  std::u16string lineBreak = u"\r\n";
  if (Stress && Rng.Percent(15)) lineBreak = Rng.Pick(Strings{u"\n", u"\r", u"\u2028"});
  if (Stress && Rng.Percent(5) && Lines.size() > 3) {
    // A NUL near the end cuts the text there.
    auto& line = Lines[Lines.size() - 1 - Rng.Below(3)];
    line.insert(Rng.Below(uint32_t(line.size() + 1)), 1, u'\0');
  }
  std::u16string text;
  if (Stress && Rng.Percent(3)) text = Rng.Percent(50) ? u"\r\n" : u" ";  // not a log
  for (size_t i = 0; i < Lines.size(); ++i) {
    text += Lines[i];
    if (i + 1 < Lines.size() || Rng.Percent(80)) text += lineBreak;
  }
  return Encode(text, encoding);
}

}  // namespace

std::string GenerateLog(uint32_t seed, const TLogGenOptions& options) {
  return TGenerator(seed, options).Run();
}

std::u16string RandomNameChangePattern(uint32_t seed) {
  TRandom rng(seed);
  return rng.Pick(Strings{u"%s is now known as %s", u"%s is now known as %s",
                          u"[%s] renamed to [%s]", u"%s heißt jetzt %s", u"%s & co. became %s",
                          u"\"%s\" <now> \"%s\"", u"%s changed the name", u"*%s* -> %s", u""});
}

TRecOptions RandomOptions(uint32_t seed) {
  TRandom rng(seed ^ 0x9E3779B9u);
  TRecOptions o = DefaultOptions();
  o.ShowEmoticons = rng.Percent(60);
  o.DontShowTimestamp = rng.Percent(40);
  o.ShowContactNamesBold = rng.Percent(50);
  o.ConvertURLsToLinks = rng.Percent(60);
  o.ReTruncateLongContactNames = rng.Percent(50);
  o.ReTruncateLongContactNamesChars =
      int8_t(rng.Percent(70) ? rng.Between(1, 15) : rng.Between(1, 127));
  const Strings fonts = {u"Tahoma", u"Courier New", u"", u"Times New Roman", u"A&B <Sans>"};
  for (auto& s : o.Styles) {
    if (!rng.Percent(50)) continue;
    s.FontName = rng.Pick(fonts);
    switch (rng.Below(4)) {
      case 0:
        s.FontColor = rng.Below(0x1000000);
        break;
      case 1:
        s.FontColor = 0x80000000u + rng.Below(36);  // some indices have no colour
        break;
      case 2:
        s.FontColor = rng.Percent(50) ? 0x1FFFFFFFu : 0x20000000u;
        break;
      default:
        s.FontColor = uint32_t(rng.Below(0xFFFFFFFFu));
        break;
    }
    s.FontSize = rng.Percent(90) ? int32_t(rng.Between(1, 99)) : int32_t(rng.Below(200)) - 100;
    s.FontStyle = uint8_t(rng.Below(16));
  }
  return o;
}

}  // namespace skribo::test
