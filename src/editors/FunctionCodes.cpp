#include "editors/FunctionCodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "lang/LanguageTexts.h"
#include "editors/ChannelStore.h"
#include "fields/FieldCodec.h"

namespace zmp {

namespace {

constexpr FunctionCode C(char a, char b) { return MakeFunctionCode(a, b); }

struct Named {
  FunctionCode code;
  int name;
};

// The functions in list order with the language text of each name.
constexpr std::array<Named, kFunctionCount> kNamed{{
    {C(' ', ' '), 1256},
    {C('#', '1'), 1133}, {C('#', '2'), 1134}, {C('#', '3'), 1135}, {C('#', '4'), 1136}, {C('#', '5'), 1137},
    {C('#', '7'), 1138}, {C('#', '8'), 1139}, {C('#', '9'), 1140}, {C('#', ':'), 1141}, {C('#', ';'), 1142},
    {C('#', '<'), 1143}, {C('#', 'A'), 1144}, {C('#', 'B'), 1145}, {C('#', 'C'), 1146}, {C('#', 'D'), 1147},
    {C('#', 'E'), 1148}, {C('#', 'G'), 1149}, {C('#', 'H'), 1150}, {C('#', 'I'), 1151}, {C('#', 'J'), 1152},
    {C('#', 'K'), 1153}, {C('#', 'L'), 1154}, {C('#', 'Q'), 1155}, {C('#', 'R'), 1156}, {C('#', 'S'), 1157},
    {C('#', 'T'), 1158}, {C('#', 'U'), 1159}, {C('#', 'W'), 1160}, {C('#', 'X'), 1161}, {C('#', 'Y'), 1162},
    {C('#', 'Z'), 1163}, {C('#', '['), 1164}, {C('#', '\\'), 1165},
    // Channels 1..30.
    {NumberedCode(0), 1166}, {NumberedCode(1), 1167}, {NumberedCode(2), 1168}, {NumberedCode(3), 1169},
    {NumberedCode(4), 1170}, {NumberedCode(5), 1171}, {NumberedCode(6), 1172}, {NumberedCode(7), 1173},
    {NumberedCode(8), 1174}, {NumberedCode(9), 1175}, {NumberedCode(10), 1176}, {NumberedCode(11), 1177},
    {NumberedCode(12), 1178}, {NumberedCode(13), 1179}, {NumberedCode(14), 1180}, {NumberedCode(15), 1181},
    {NumberedCode(16), 1271}, {NumberedCode(17), 1272}, {NumberedCode(18), 1273}, {NumberedCode(19), 1274},
    {NumberedCode(20), 1275}, {NumberedCode(21), 1276}, {NumberedCode(22), 1277}, {NumberedCode(23), 1278},
    {NumberedCode(24), 1279}, {NumberedCode(25), 1280}, {NumberedCode(26), 1281}, {NumberedCode(27), 1282},
    {NumberedCode(28), 1283}, {NumberedCode(29), 1284},
    {C('"', '0'), 1182}, {C('"', '1'), 1183},
    {C('3', '1'), 1184}, {C('3', '2'), 1185}, {C('3', '3'), 1186}, {C('3', '4'), 1187}, {C('3', '5'), 1188},
    {C('1', '1'), 1189},
    {C('2', '1'), 1190}, {C('2', '2'), 1191}, {C('2', '3'), 1192}, {C('2', '4'), 1193}, {C('2', '5'), 1194},
    {C('2', '6'), 1195}, {C('2', '7'), 1196}, {C('2', '8'), 1197},
    {C('5', '1'), 1204}, {C('5', '0'), 1205}, {C('5', '2'), 1206},
    {C('9', '1'), 1207}, {C('9', '0'), 1208}, {C('9', '2'), 1209},
    {C('=', '0'), 1259}, {C('=', '1'), 1260}, {C('=', '2'), 1261},
    {C('/', '0'), 1210}, {C('/', '1'), 1211}, {C('/', '2'), 1212}, {C('/', '3'), 1213},
    {C(',', '1'), 1265}, {C(',', '0'), 1266}, {C(',', '2'), 1267},
    {C('+', '1'), 1268}, {C('+', '0'), 1269}, {C('+', '2'), 1270},
    {C('%', '1'), 1223}, {C('%', '0'), 1224}, {C('%', '2'), 1225},
    {C('P', '1'), 1226},
    {C('\'', '0'), 1227}, {C('\'', '1'), 1228}, {C('\'', '2'), 1229},
    {C('7', '0'), 1230}, {C('7', '1'), 1231}, {C('7', '2'), 1232},
    {C('.', '1'), 1233}, {C('.', '3'), 1236}, {C('.', '0'), 1234}, {C('.', '2'), 1235},
    {C('*', '2'), 1237},
    {C('>', '1'), 1263}, {C('>', '2'), 1264},
    {C('-', '0'), 1238}, {C('-', '1'), 1239}, {C('-', '2'), 1240},
    {C('6', '1'), 1241}, {C('6', '2'), 1242}, {C('6', '3'), 1243}, {C('6', 'A'), 1244}, {C('6', 'B'), 1245},
    {C('6', 'C'), 1246}, {C('6', 'Q'), 1247}, {C('6', 'R'), 1248}, {C('6', 'S'), 1249},
    {C('4', '1'), 1250}, {C('4', '0'), 1251}, {C('4', '2'), 1252},
    {C('&', '1'), 1253}, {C('&', '0'), 1254}, {C('&', '2'), 1255},
    {C(')', '0'), 1285}, {C(')', '1'), 1286}, {C(')', '2'), 1287},
}};

// Help pages of the functions follow each other in list order.
constexpr int kFunctionHelpBase = 79100;

constexpr std::array<FunctionEntry, kFunctionCount> MakeTable() {
  std::array<FunctionEntry, kFunctionCount> t{};
  for (std::size_t i = 0; i < kFunctionCount; ++i)
    t[i] = FunctionEntry{kNamed[i].code, TextNo{kNamed[i].name}, kFunctionHelpBase + static_cast<int>(i)};
  return t;
}
constexpr std::array<FunctionEntry, kFunctionCount> kTable = MakeTable();

constexpr FunctionFamily Same(FunctionCode c) { return {c, c, c}; }

constexpr std::array<FunctionFamily, kFamilyCount> kFamilies{{
    {C('7', '0'), C('7', '1'), C('7', '2')},   // 0 auxiliary output
    {C('%', '0'), C('%', '1'), C('%', '2')},   // 1 emergency mode
    {C('5', '1'), C('5', '0'), C('5', '2')},   // 2 repeat hold
    {C('4', '0'), C('4', '1'), C('4', '2')},   // 3 time-out timer
    {C('#', 'A'), C('#', '1'), C('#', 'Q')},   // 4..14 the switched features
    {C('#', 'B'), C('#', '2'), C('#', 'R')},
    {C('#', 'C'), C('#', '3'), C('#', 'S')},
    {C('#', 'D'), C('#', '4'), C('#', 'T')},
    {C('#', 'E'), C('#', '5'), C('#', 'U')},
    {C('#', 'G'), C('#', '7'), C('#', 'W')},
    {C('#', 'H'), C('#', '8'), C('#', 'X')},
    {C('#', 'I'), C('#', '9'), C('#', 'Y')},
    {C('#', 'J'), C('#', ':'), C('#', 'Z')},
    {C('#', 'K'), C('#', ';'), C('#', '[')},
    {C('#', 'L'), C('#', '<'), C('#', '\\')},
    {C('"', '0'), C('"', '1'), 0},             // 15 battery operation: levels only
    Same(C('2', '1')), Same(C('2', '2')), Same(C('2', '3')), Same(C('2', '4')),  // 16..23 CW messages 1..8
    Same(C('2', '5')), Same(C('2', '6')), Same(C('2', '7')), Same(C('2', '8')),
    {C('=', '1'), C('=', '0'), C('=', '2')},   // 24 QT/DQT squelch
    {C('>', '0'), C('>', '1'), C('>', '2')},   // 25 remote control
    {C(')', '1'), C(')', '0'), C(')', '2')},   // 26 voting pilot tone
    {C('6', '1'), C('6', 'A'), C('6', 'Q')},   // 27..29 links 1..3
    {C('6', '2'), C('6', 'B'), C('6', 'R')},
    {C('6', '3'), C('6', 'C'), C('6', 'S')},
    Same(C('3', '1')), Same(C('3', '2')), Same(C('3', '3')), Same(C('3', '4')), Same(C('3', '5')),  // 30..34
}};

bool Removable(FunctionCode code) { return code != kNoFunction && code != 0; }

// --- the availability decision table ------------------------------------------------------------

// Where each family's facility is switched.
constexpr std::size_t kTotByte = 0x0290;            // repeater TOT, half seconds
constexpr std::size_t kRepeatHoldByte = 0x0291;     // tenths, 0 = Off
constexpr std::size_t kLocalMicTotWord = 0x0629;
constexpr std::size_t kEncryptionByte = 0x027D;     // 0xFF = off
constexpr std::size_t kVotingPilotByte = 0x0279;    // 0 = on
constexpr std::size_t kCourtesyPeriodWord = 0x0426; // 0 = off
constexpr std::size_t kLinkSwitches = 0x0378;       // 0x378 + n: link n + 1, 0 = off
constexpr std::size_t kConnectionSlots = 0x0450;    // 0x450 + 8n: connection n + 1, blank = off
constexpr std::size_t kCwMessages = 0x0640;         // 0x640 + 32n: message n + 1, 0xFF = empty
constexpr std::size_t kPortLevelByte = 0x02AF;      // function port input level
constexpr std::size_t kFixedOutput3 = 0x05D0;       // output function characters of
constexpr std::size_t kFixedOutput5 = 0x05E0;       // the two outputs that can be switched
constexpr char kSwitchedOutput = '<';

bool InFamily(FunctionCode code, int f) {
  const auto& fam = kFamilies[static_cast<std::size_t>(f)];
  return Removable(code) && std::find(fam.begin(), fam.end(), code) != fam.end();
}

// A level code: the first or second of a family and never the third of one.
// Keys toggle, so they hold only a family's third code.
bool IsLevelCode(FunctionCode code) {
  bool level = false;
  for (const FunctionFamily& fam : kFamilies) {
    if (!Removable(code)) continue;
    if (fam[2] == code) return false;
    if (fam[0] == code || fam[1] == code) level = true;
  }
  return level;
}

int ChannelOf(FunctionCode code) {
  const int n = static_cast<unsigned char>(SecondChar(code));
  return FirstChar(code) == '!' && n >= 1 && n <= kNumberedCodeCount ? n - 1 : -1;
}

std::uint8_t Byte(const ImageStore& image, std::size_t at) { return image.Main().Byte(at); }
std::uint16_t Word(const ImageStore& image, std::size_t at) { return image.Main().Word(at); }
int FamilyIndexIn(FunctionCode code, int first, int count) {
  for (int f = first; f < first + count; ++f)
    if (InFamily(code, f)) return f - first;
  return -1;
}

struct AvailabilityRule {
  bool (*applies)(FunctionCode code);
  int category;  // 0: every category
  bool (*offered)(const ImageStore& image, FunctionCode code);
  TextNo whyNot;  // why the code is not offered when offered() fails
};

// Row by row: which codes, in which category, are offered only when the
// image says so. A code that no row names is offered in every category.
constexpr AvailabilityRule kAvailability[] = {
    // 1. Keys toggle: a family's first and second codes (levels) are never
    //    offered on keys, only its third.
    {IsLevelCode, category::kKey, [](const ImageStore&, FunctionCode) { return false; }, 302_txt},
    // 2. External PTT is held by a line, never by a key.
    {[](FunctionCode c) { return c == C('P', '1'); }, category::kKey,
     [](const ImageStore&, FunctionCode) { return false; }, 302_txt},
    // 3. External PTT on a port input needs the inputs set to level 0 (0x2AF).
    {[](FunctionCode c) { return c == C('P', '1'); }, category::kPortInput,
     [](const ImageStore& im, FunctionCode) { return Byte(im, kPortLevelByte) == 0; }, 303_txt},
    // 4. Repeat hold (family 2): the Repeat Hold Timer is not Off.
    {[](FunctionCode c) { return InFamily(c, family::kRepeatHold); }, 0,
     [](const ImageStore& im, FunctionCode) { return Byte(im, kRepeatHoldByte) != 0; }, 304_txt},
    // 5. Time-out timer (family 3): either time-out timer is not 0.
    {[](FunctionCode c) { return InFamily(c, family::kTimeOutTimer); }, 0,
     [](const ImageStore& im, FunctionCode) { return Byte(im, kTotByte) != 0 || Word(im, kLocalMicTotWord) != 0; },
     305_txt},
    // 6. Voting pilot tone (family 26): the Voting Pilot Tone is ticked (0x279 = 0).
    {[](FunctionCode c) { return InFamily(c, family::kVotingPilot); }, 0,
     [](const ImageStore& im, FunctionCode) { return Byte(im, kVotingPilotByte) == 0; }, 306_txt},
    // 7. Links 1-3 (families 27-29): their switch byte 0x378 + n is not 0.
    {[](FunctionCode c) { return FamilyIndexIn(c, family::kFirstLink, 3) >= 0; }, 0,
     [](const ImageStore& im, FunctionCode c) {
       return Byte(im, kLinkSwitches + static_cast<std::size_t>(FamilyIndexIn(c, family::kFirstLink, 3))) != 0;
     },
     307_txt},
    // 8. Connections 1-5 (families 30-34): their slot 0x450 + 8n is not blank.
    {[](FunctionCode c) { return FamilyIndexIn(c, family::kFirstConnection, 5) >= 0; }, 0,
     [](const ImageStore& im, FunctionCode c) {
       const auto n = static_cast<std::size_t>(FamilyIndexIn(c, family::kFirstConnection, 5));
       return Word(im, kConnectionSlots + kGroupStride * n) != kNoFunction;
     },
     308_txt},
    // 9. Send CW message 1-8 (families 16-23): the message holds text.
    {[](FunctionCode c) { return FamilyIndexIn(c, family::kFirstCwMessage, 8) >= 0; }, 0,
     [](const ImageStore& im, FunctionCode c) {
       const auto n = static_cast<std::size_t>(FamilyIndexIn(c, family::kFirstCwMessage, 8));
       return Byte(im, kCwMessages + 32 * n) != 0xFF;
     },
     309_txt},
    // 10. Channel n ("!" + n): channel n exists.
    {[](FunctionCode c) { return ChannelOf(c) >= 0; }, 0,
     [](const ImageStore& im, FunctionCode c) {
       return ChannelOf(c) < kChannelCount && ChannelStore::RecordOf(im, ChannelOf(c)).has_value();
     },
     310_txt},
    // 11. Auxiliary output (family 0): fixed output 3 or 5 is set to the
    //     switched output '<'.
    {[](FunctionCode c) { return InFamily(c, family::kAuxOutput); }, 0,
     [](const ImageStore& im, FunctionCode) {
       return Byte(im, kFixedOutput3) == kSwitchedOutput || Byte(im, kFixedOutput5) == kSwitchedOutput;
     },
     311_txt},
    // 12. Encryption (family 7): Encryption is ticked (0x27D is not 0xFF).
    {[](FunctionCode c) { return InFamily(c, family::kEncryption); }, 0,
     [](const ImageStore& im, FunctionCode) { return Byte(im, kEncryptionByte) != 0xFF; }, 312_txt},
    // 13. Courtesy tone ("&1" "&0" "&2"): the Courtesy Tone is ticked (period not 0).
    {[](FunctionCode c) { return FirstChar(c) == '&'; }, 0,
     [](const ImageStore& im, FunctionCode) { return Word(im, kCourtesyPeriodWord) != 0; }, 313_txt},
};

}  // namespace

// --- table ------------------------------------------------------------------------

std::span<const FunctionEntry> FunctionTable() { return kTable; }

const FunctionEntry* FindFunction(FunctionCode code) {
  for (const FunctionEntry& e : kTable)
    if (e.code == code) return &e;
  return nullptr;
}

std::string FunctionName(FunctionCode code) {
  const FunctionEntry* e = FindFunction(code);
  return e ? Tx(e->name) : std::string();
}

std::span<const FunctionFamily> FunctionFamilies() { return kFamilies; }

// --- records and blank lists ------------------------------------------------------------------------

void ResetKeyRecord(ImageStore& image, int k) {
  if (k < 0 || k >= kKeyCount) return;
  ClearRemoteRecord(image, KeyRecordOffset(k));
}

void ClearRemoteRecord(ImageStore& image, std::size_t offset) {
  const BlockRef m = image.Main();
  m.SetByte(offset, 0xFF);
  m.SetByte(offset + 1, 0xFF);
  m.SetByte(offset + 2, 0x00);
}

void BlankAssignmentLists(ImageStore& image) {
  std::vector<AssignmentList> lists{kKeyList, kList1, kList2, kList3};
  lists.insert(lists.end(), kSingleChains.begin(), kSingleChains.end());
  const BlockRef m = image.Main();
  for (const AssignmentList& list : lists)
    for (int g = 0; g < list.groups; ++g)
      for (int w = 0; w < kChainLength; ++w)
        m.SetWord(list.offset + kGroupStride * static_cast<std::size_t>(g) + 2 * static_cast<std::size_t>(w),
                  kNoFunction);
}

// --- availability ------------------------------------------------------------------------

namespace {

// The availability rules whose codes a code is among, a bit a rule. Which
// codes a rule names does not depend on the image.
using RuleSet = std::uint16_t;
static_assert(std::size(kAvailability) <= 16);

RuleSet RulesNaming(FunctionCode code) {
  RuleSet rules = 0;
  for (std::size_t r = 0; r < std::size(kAvailability); ++r)
    if (kAvailability[r].applies(code)) rules |= static_cast<RuleSet>(1u << r);
  return rules;
}

// The rules naming each entry of the function table, worked out once.
const std::array<RuleSet, kFunctionCount>& RulesOfTable() {
  static const std::array<RuleSet, kFunctionCount> rules = [] {
    std::array<RuleSet, kFunctionCount> out{};
    for (std::size_t i = 0; i < kFunctionCount; ++i) out[i] = RulesNaming(kTable[i].code);
    return out;
  }();
  return rules;
}

RuleSet RulesOf(FunctionCode code) {
  const FunctionEntry* e = FindFunction(code);
  return e ? RulesOfTable()[static_cast<std::size_t>(e - kTable.data())] : RulesNaming(code);
}

// The first of the rules that holds the code back in this category, in table order.
std::optional<TextNo> WhyRulesHoldBack(RuleSet rules, const ImageStore& image, FunctionCode code, int category) {
  for (std::size_t r = 0; rules != 0 && r < std::size(kAvailability); ++r) {
    if (!(rules & (1u << r))) continue;
    rules = static_cast<RuleSet>(rules & ~(1u << r));
    const AvailabilityRule& rule = kAvailability[r];
    if (rule.category != 0 && rule.category != category) continue;
    if (!rule.offered(image, code)) return rule.whyNot;
  }
  return std::nullopt;
}

// Calls take(entry) for every entry of the table offered in this category.
template <class Take>
void ForEachOffered(const ImageStore& image, int category, Take take) {
  const auto& rules = RulesOfTable();
  for (std::size_t i = 0; i < kFunctionCount; ++i)
    if (!WhyRulesHoldBack(rules[i], image, kTable[i].code, category)) take(kTable[i]);
}

}  // namespace

std::optional<TextNo> WhyNotOffered(const ImageStore& image, FunctionCode code, int category) {
  return WhyRulesHoldBack(RulesOf(code), image, code, category);
}

bool FunctionAvailable(const ImageStore& image, FunctionCode code, int category) {
  return !WhyNotOffered(image, code, category).has_value();
}

std::vector<FunctionCode> AvailableFunctions(const ImageStore& image, int category) {
  std::vector<FunctionCode> out;
  out.reserve(kFunctionCount);
  ForEachOffered(image, category, [&](const FunctionEntry& e) { out.push_back(e.code); });
  return out;
}

std::vector<ShownChoice> AvailableFunctionChoices(const ImageStore& image, int category) {
  std::vector<ShownChoice> out;
  out.reserve(kFunctionCount);
  ForEachOffered(image, category, [&](const FunctionEntry& e) { out.push_back({e.code, Tx(e.name)}); });
  return out;
}

std::string AssignedFunctionText(const ImageStore& image, FunctionCode code, int category) {
  if (!FindFunction(code)) return {};
  if (const auto why = WhyNotOffered(image, code, category))
    return MissingTargetText({Target::State::Missing, FunctionName(code), *why});
  return FunctionName(code);
}

// --- assignment slots as references ------------------------------------------------------

namespace {

std::string CodeText(FunctionCode code) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(code));
  return buf;
}

Target ResolveFunction(const FieldAt& at, long stored, int category) {
  const auto code = static_cast<FunctionCode>(stored);
  // The blank, and a slot never written, name nothing.
  if (code == kNoFunction || code == 0 || code == 0xFFFF) return {};
  if (!FindFunction(code)) return {Target::State::Missing, CodeText(code), 314_txt};
  if (const auto why = WhyNotOffered(at.image, code, category)) return {Target::State::Missing, FunctionName(code), *why};
  return {Target::State::Present, FunctionName(code)};
}

// Every byte the availability table reads.
constexpr std::array<BlockBytes, 12> kAvailabilityReads{{
    {0x0000, 0x00C8},  // the channel index
    {kTotByte, 2},     // repeater time-out timer and repeat hold timer
    {kLocalMicTotWord, 2},
    {kEncryptionByte, 1},
    {kVotingPilotByte, 1},
    {kCourtesyPeriodWord, 2},
    {kLinkSwitches, 3},
    {kConnectionSlots, kGroupStride * 5},
    {kCwMessages, 32 * 8},
    {kPortLevelByte, 1},
    {kFixedOutput3, 1},
    {kFixedOutput5, 1},
}};

}  // namespace

const ReferenceKind kFunctionTarget{.key = "function", .resolve = ResolveFunction, .reads = kAvailabilityReads};

void EndChainAtBlank(const FieldAt& at, long, long after) {
  if (after != kNoFunction) return;
  const BlockRef m = at.Writable().Main();
  for (std::size_t j = at.decl.offset / 2 + 1; j < kChainLength; ++j) m.SetWord(at.base + 2 * j, kNoFunction);
}

// --- slots that no editor shows ---------------------------------------------------------------

namespace {

constexpr FieldHooks kHiddenChainHooks{.afterCommit = EndChainAtBlank};
// The keys toggle: their further words hold what keys are offered. List 3 and
// the single chains hold whatever the facilities allow.
constexpr RefDecl kKeyChainSlot = FunctionSlot(category::kKey);
constexpr RefDecl kOtherListSlot = FunctionSlot(0);
constexpr RefDecl kPortChainSlot = FunctionSlot(category::kPortInput);

constexpr FieldDecl HiddenWord(std::string_view key, TextNo label, std::size_t word, const RefDecl* slot) {
  return {.key = key, .label = label, .storage = Storage::Word, .offset = 2 * word, .hooks = &kHiddenChainHooks,
          .refers = slot};
}

constexpr std::array<FieldDecl, 2> kKeyChainWords{{
    HiddenWord("function_2", 1296_txt, 1, &kKeyChainSlot),
    HiddenWord("function_3", 1297_txt, 2, &kKeyChainSlot),
}};
constexpr std::array<TextNo, kKeyCount> kKeyNames{998_txt, 999_txt, 1000_txt, 1001_txt, 1002_txt, 1003_txt};
const FieldTable kKeyChains{.key = "key_chains", .title = 320_txt, .kind = TableKind::Grid, .rows = kKeyCount,
                            .base = {.start = kKeyList.offset, .stride = kGroupStride}, .fields = kKeyChainWords,
                            .rowTitles = kKeyNames, .hidden = true};

// An option port's input chain, whatever the port is set to now (the function
// port editor shows it only while the port is an input).
constexpr std::array<FieldDecl, kChainLength> kPortChainWords{{
    HiddenWord("function_1", 1295_txt, 0, &kPortChainSlot),
    HiddenWord("function_2", 1296_txt, 1, &kPortChainSlot),
    HiddenWord("function_3", 1297_txt, 2, &kPortChainSlot),
}};
constexpr std::array<TextNo, 6> kOptionPortNames{945_txt, 946_txt, 947_txt, 948_txt, 949_txt, 950_txt};
const FieldTable kPortChains{.key = "option_port_chains", .title = 320_txt, .kind = TableKind::Grid,
                             .rows = kList2.groups, .base = {.start = kList2.offset, .stride = kGroupStride},
                             .fields = kPortChainWords, .rowTitles = kOptionPortNames, .hidden = true};

constexpr std::array<FieldDecl, kChainLength> kOtherListWords{{
    HiddenWord("function_1", 1295_txt, 0, &kOtherListSlot),
    HiddenWord("function_2", 1296_txt, 1, &kOtherListSlot),
    HiddenWord("function_3", 1297_txt, 2, &kOtherListSlot),
}};
constexpr std::array<std::size_t, 5> kOtherGroups{kList3.offset, kList3.offset + kGroupStride,
                                                  kSingleChains[0].offset, kSingleChains[1].offset,
                                                  kSingleChains[2].offset};
std::optional<std::size_t> OtherGroupStart(const ImageStore&, int row) {
  if (row < 0 || row >= static_cast<int>(kOtherGroups.size())) return std::nullopt;
  return kOtherGroups[static_cast<std::size_t>(row)];
}
constexpr std::array<TextNo, kOtherGroups.size()> kOtherTitles{320_txt, 320_txt, 320_txt, 320_txt, 320_txt};
const FieldTable kOtherLists{.key = "other_lists", .title = 320_txt, .kind = TableKind::Grid,
                             .rows = static_cast<int>(kOtherGroups.size()), .base = {.resolve = OtherGroupStart},
                             .fields = kOtherListWords, .rowTitles = kOtherTitles, .hidden = true};

}  // namespace

const FieldTable& KeyChainTable() { return kKeyChains; }
const FieldTable& OtherAssignmentListsTable() { return kOtherLists; }
const FieldTable& OptionPortChainTable() { return kPortChains; }

}  // namespace zmp
