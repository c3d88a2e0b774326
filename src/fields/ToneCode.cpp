#include "fields/ToneCode.h"

#include <cstdio>

#include "lang/LanguageTexts.h"
#include "fields/DecimalSeparator.h"

namespace zmp {

const char* const kToneTexts[] = {
    // QT tones, Hz
    "67.0", "69.3", "71.9", "74.4", "77.0", "79.7", "82.5", "85.4", "88.5", "91.5",
    "94.8", "97.4", "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9",
    "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3",
    // DQT codes, normal polarity
    "D023N", "D025N", "D026N", "D031N", "D032N", "D043N", "D047N", "D051N", "D054N",
    "D065N", "D071N", "D072N", "D073N", "D074N", "D114N", "D115N", "D116N", "D125N",
    "D131N", "D132N", "D134N", "D143N", "D152N", "D155N", "D156N", "D162N", "D165N",
    "D172N", "D174N", "D205N", "D223N", "D226N", "D243N", "D244N", "D245N", "D251N",
    "D261N", "D263N", "D265N", "D271N", "D306N", "D311N", "D315N", "D331N", "D343N",
    "D346N", "D351N", "D364N", "D365N", "D371N", "D411N", "D412N", "D413N", "D423N",
    "D431N", "D432N", "D445N", "D464N", "D465N", "D466N", "D503N", "D506N", "D516N",
    "D532N", "D546N", "D565N", "D606N", "D612N", "D624N", "D627N", "D631N", "D632N",
    "D654N", "D662N", "D664N", "D703N", "D712N", "D723N", "D731N", "D732N", "D734N",
    "D743N", "D754N",
    // DQT codes, inverted polarity
    "D023I", "D025I", "D026I", "D031I", "D032I", "D043I", "D047I", "D051I", "D054I",
    "D065I", "D071I", "D072I", "D073I", "D074I", "D114I", "D115I", "D116I", "D125I",
    "D131I", "D132I", "D134I", "D143I", "D152I", "D155I", "D156I", "D162I", "D165I",
    "D172I", "D174I", "D205I", "D223I", "D226I", "D243I", "D244I", "D245I", "D251I",
    "D261I", "D263I", "D265I", "D271I", "D306I", "D311I", "D315I", "D331I", "D343I",
    "D346I", "D351I", "D364I", "D365I", "D371I", "D411I", "D412I", "D413I", "D423I",
    "D431I", "D432I", "D445I", "D464I", "D465I", "D466I", "D503I", "D506I", "D516I",
    "D532I", "D546I", "D565I", "D606I", "D612I", "D624I", "D627I", "D631I", "D632I",
    "D654I", "D662I", "D664I", "D703I", "D712I", "D723I", "D731I", "D732I", "D734I",
    "D743I", "D754I",
    nullptr,
};

namespace {

std::string OffText() { return Tx(719_txt); }

std::string TenthsText(int tenths) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d%c%d", tenths / 10, DecimalSeparator(), tenths % 10);
  return buf;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading decimal number of text in tenths, truncated ("67.05" -> 670,
// "abc" -> 0, "-5" -> -50). Large values saturate instead of overflowing.
long ParseTenths(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long whole = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    if (whole < 1'000'000) whole = whole * 10 + (text[i] - '0');
  long tenths = whole * 10;
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    ++i;
    if (i < text.size() && IsDigit(text[i])) tenths += text[i] - '0';
  }
  return negative ? -tenths : tenths;
}

bool StartsWithD(std::string_view text) { return !text.empty() && (text[0] == 'D' || text[0] == 'd'); }

}  // namespace

std::string ToneCodeToText(ToneCode code) {
  if (code == kToneOff) return OffText();
  if (!(code & kDqtFlag)) return TenthsText(code);
  char buf[8];
  std::snprintf(buf, sizeof buf, "D%o%o%o%c", (code >> 6) & 7, (code >> 3) & 7, code & 7,
                (code & kDqtInverted) ? 'I' : 'N');
  return buf;
}

void NormalizeToneText(std::string& text) {
  if (text.empty()) return;
  if (StartsWithD(text)) {
    std::string out = "D";
    for (std::size_t k = 1; k <= 3; ++k) {
      char c = k < text.size() ? text[k] : '0';
      if (c < '0') c = '0';
      if (c > '7') c = '7';
      out.push_back(c);
    }
    const char polarity = text.size() > 4 ? text[4] : 'N';
    out.push_back(polarity == 'I' || polarity == 'i' ? 'I' : 'N');
    text = out;
    return;
  }
  long tenths = ParseTenths(text);
  if (tenths < kQtMinTenths) tenths = kQtMinTenths;
  if (tenths > kQtMaxTenths) tenths = kQtMaxTenths;
  text = TenthsText(static_cast<int>(tenths));
}

ToneCode TextToToneCode(std::string_view input) {
  std::string text(input);
  if (text == OffText()) text.clear();
  NormalizeToneText(text);
  if (text.empty()) return kToneOff;
  if (text[0] != 'D') return static_cast<ToneCode>(ParseTenths(text));
  const int octal = (text[1] - '0') * 64 + (text[2] - '0') * 8 + (text[3] - '0');
  const ToneCode polarity = text[4] == 'I' ? (kDqtFlag | kDqtInverted) : kDqtFlag;
  return static_cast<ToneCode>(kDqtMarker + octal + polarity);
}

std::string ToneListText(int position) {
  if (position == 0) return OffText();
  if (position < 0 || position > kToneArrayCount) return {};
  std::string text = kToneTexts[position - 1];
  for (auto& c : text)
    if (c == '.') c = DecimalSeparator();
  return text;
}

std::optional<int> ToneListPosition(std::string_view text) {
  for (int k = 0; k <= kToneArrayCount; ++k)
    if (ToneListText(k) == text) return k;
  return std::nullopt;
}

std::optional<char> ToneKeyFilter(char c) {
  if (IsDigit(c)) return c;
  if (c == '.' || c == ',') return DecimalSeparator();
  switch (c) {
    case 'D': case 'I': case 'N': return c;
    case 'd': return 'D';
    case 'i': return 'I';
    case 'n': return 'N';
    default: return std::nullopt;
  }
}

}  // namespace zmp
