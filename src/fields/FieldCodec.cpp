#include "fields/FieldCodec.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "fields/CodecParts.h"
#include "lang/LanguageTexts.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp {

std::size_t FieldAt::offset() const { return base + decl.offset; }

ImageStore& FieldAt::Writable() const {
  if (!writable) throw std::logic_error("a field formatter tried to write the image");
  return *writable;
}

std::size_t FieldDecl::Width() const {
  switch (storage) {
    case Storage::None: return 0;
    case Storage::Byte:
    case Storage::Bit: return 1;
    case Storage::Word:
    case Storage::BcdWord:
    case Storage::Tone: return 2;
    case Storage::Text:
    case Storage::Custom:
    case Storage::ByteList: return length;
  }
  return 0;
}

namespace codec {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsNumeric(const FieldDecl& d) {
  switch (d.storage) {
    case Storage::Byte:
    case Storage::Word:
    case Storage::BcdWord:
      return d.choices.empty() && (d.hooks == nullptr || d.hooks->choices == nullptr) &&
             d.kind != ControlKind::CheckBox;
    default:
      return false;
  }
}

bool IsList(const FieldDecl& d) {
  return !d.choices.empty() || (d.hooks && d.hooks->choices);
}

long WidthMaximum(const FieldDecl& d) {
  switch (d.storage) {
    case Storage::Byte: return 0xFF;
    case Storage::Bit: return 1;
    case Storage::BcdWord: return 9999;
    default: return 0xFFFF;
  }
}

FieldAt AtOf(const FieldRef& f, const ImageStore& image, ImageStore* writable, std::size_t base) {
  return FieldAt{image, writable, *f.decl, *f.table, f.row, base};
}

// The stored number of a field, or nothing (no number, a BCD nibble above 9).
std::optional<long> ReadStored(const FieldAt& at) {
  const FieldDecl& d = at.decl;
  const ConstBlockRef block = at.image.Block(at.table.base.block);
  switch (d.storage) {
    case Storage::Byte: {
      const long b = block.Byte(at.offset());
      return (d.blankReadsZero && b == 0xFF) ? 0 : b;
    }
    case Storage::Bit: return block.Bit(at.offset(), d.bit) ? 1 : 0;
    case Storage::Word:
    case Storage::Tone: {
      const long w = block.Word(at.offset());
      return (d.blankReadsZero && w == 0xFFFF) ? 0 : w;
    }
    case Storage::BcdWord: {
      const auto digits = block.BcdDigits(at.offset(), 2);
      if (!digits) return std::nullopt;
      return std::stol(*digits);
    }
    case Storage::Custom:
      if (d.hooks && d.hooks->raw) return d.hooks->raw(at);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void WriteStored(const FieldAt& at, long v) {
  const FieldDecl& d = at.decl;
  const BlockRef block = at.Writable().Block(at.table.base.block);
  v = std::clamp(v, 0L, WidthMaximum(d));
  // A blank that reads as 0 already holds 0: it stays blank.
  if (d.blankReadsZero && v == 0 && ReadStored(at) == 0) return;
  switch (d.storage) {
    case Storage::Byte: block.SetByte(at.offset(), static_cast<std::uint8_t>(v)); break;
    case Storage::Bit: block.SetBit(at.offset(), d.bit, v != 0); break;
    case Storage::Word:
    case Storage::Tone: block.SetWord(at.offset(), static_cast<std::uint16_t>(v)); break;
    case Storage::BcdWord: {
      char digits[8];
      std::snprintf(digits, sizeof digits, "%04ld", v);
      block.SetBcdDigits(at.offset(), 2, digits);
      break;
    }
    case Storage::Custom:
      if (d.hooks && d.hooks->write) d.hooks->write(at, v);
      break;
    default: break;
  }
}

long BlankOf(const FieldDecl& d) { return d.Width() == 1 ? 0xFF : 0xFFFF; }

bool IsBlankShown(const FieldDecl& d, std::optional<long> stored) {
  return d.blankShows && stored && *stored == BlankOf(d);
}

bool IsTicked(const FieldDecl& d, std::optional<long> raw) {
  if (!raw) return false;
  return d.check.tickedWhenNot ? *raw != d.check.clear : *raw == d.check.ticked;
}

bool ShowsOff(const FieldDecl& d, long stored) {
  return d.off.text.n != 0 && stored >= 0 && stored < d.off.below;
}

std::string ChoiceText(const Choice& c) { return c.text.n ? Tx(c.text) : std::string(c.literal); }

std::vector<ShownChoice> ChoicesAt(const FieldAt& at) {
  if (at.decl.hooks && at.decl.hooks->choices) return at.decl.hooks->choices(at);
  std::vector<ShownChoice> out;
  out.reserve(at.decl.choices.size());
  for (const Choice& c : at.decl.choices) out.push_back({c.value, ChoiceText(c)});
  return out;
}

ChoiceFound FindChoice(const FieldAt& at, long value, Match match, const std::vector<ShownChoice>* built) {
  ChoiceFound found;
  const auto search = [&](const auto& choices, const auto& textOf) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
      if (choices[i].value != value) continue;
      found.position = static_cast<int>(i);
      if (match == Match::First) break;
    }
    if (found.position >= 0) found.text = textOf(choices[static_cast<std::size_t>(found.position)]);
  };
  const auto shownText = [](const ShownChoice& c) { return c.text; };
  if (built)
    search(*built, shownText);
  else if (at.decl.hooks && at.decl.hooks->choices)
    search(at.decl.hooks->choices(at), shownText);
  else
    search(at.decl.choices, ChoiceText);
  return found;
}

bool HasChoice(const FieldAt& at, long value) { return FindChoice(at, value, Match::First).position >= 0; }

std::optional<long> ChoiceValueOf(const FieldAt& at, std::string_view text) {
  if (at.decl.hooks && at.decl.hooks->choices) {
    for (const ShownChoice& c : at.decl.hooks->choices(at))
      if (c.text == text) return c.value;
    return std::nullopt;
  }
  for (const Choice& c : at.decl.choices)
    if (ChoiceText(c) == text) return c.value;
  return std::nullopt;
}

// --- paired columns ---------------------------------------------------------------

// The other column of a paired field: the same declaration at the partner's
// offset, without a pair rule of its own.
FieldDecl PartnerDecl(const FieldDecl& d) {
  FieldDecl p = d;
  p.offset = d.pair.partner;
  p.pair = {};
  p.hooks = nullptr;
  return p;
}

long NoneValueOf(const FieldDecl& d) {
  if (d.storage == Storage::Tone || d.blankFfff) return 0xFFFF;
  return 0;
}

// The follower takes no value while its leader is empty; storing none into
// it then is no change and is taken.
CommitResult CheckFollower(const FieldAt& at, long value) {
  const FieldDecl leader = PartnerDecl(at.decl);
  const FieldAt leaderAt{at.image, at.writable, leader, at.table, at.row, at.base};
  const std::optional<long> lead = ReadStored(leaderAt);
  if (lead && !IsNoneValue(leader, *lead)) return {};
  if (IsNoneValue(at.decl, value)) return {CommitStatus::NotEditable, {0}};
  return CommitResult::Refuse(612_txt);
}

// After the leader took a value: none empties the follower, a value fills an
// empty follower.
void FollowLeader(const FieldAt& at, long value) {
  const FieldDecl follower = PartnerDecl(at.decl);
  const FieldAt followerAt{at.image, at.writable, follower, at.table, at.row, at.base};
  const std::optional<long> current = ReadStored(followerAt);
  const bool followerNone = !current || IsNoneValue(follower, *current);
  if (IsNoneValue(at.decl, value)) {
    if (!followerNone) WriteStored(followerAt, NoneValueOf(follower));
  } else if (followerNone) {
    WriteStored(followerAt, value);
  }
}

// Writes a stored value through the field's validation, the pair rule and
// the after-commit hook.
CommitResult Store(const FieldAt& at, long value) {
  const FieldDecl& d = at.decl;
  if (d.pair.role == PairRole::Follower) {
    const CommitResult f = CheckFollower(at, value);
    if (f.status == CommitStatus::NotEditable) return {};  // none into none: nothing to store
    if (!f.ok()) return f;
  }
  if (d.hooks && d.hooks->validate) {
    const CommitResult v = d.hooks->validate(at, value);
    if (!v.ok()) return v;
  }
  const std::optional<long> before = ReadStored(at);
  WriteStored(at, value);
  const std::optional<long> after = ReadStored(at);
  if (d.pair.role == PairRole::Leader && after) FollowLeader(at, *after);
  if (d.hooks && d.hooks->afterCommit && before != after)
    d.hooks->afterCommit(at, before.value_or(-1), after.value_or(-1));
  CommitResult result;
  if (d.hooks && d.hooks->warnAfter && before != after)
    result.warning = d.hooks->warnAfter(at, before.value_or(-1), after.value_or(-1));
  return result;
}

Resolved Resolve(const FieldRef& f, const ImageStore& image) {
  Resolved r;
  r.base = RowStart(*f.table, image, f.row);
  if (r.base && f.decl->hooks && f.decl->hooks->applicable)
    r.applicable = f.decl->hooks->applicable(AtOf(f, image, nullptr, *r.base));
  if (r.base && r.applicable && f.decl->hooks && f.decl->hooks->disabled)
    r.disabled = f.decl->hooks->disabled(AtOf(f, image, nullptr, *r.base));
  return r;
}

CommitResult CommitListText(const FieldAt& at, std::string_view text) {
  if (const auto value = ChoiceValueOf(at, text)) return Store(at, *value);
  return CommitResult::Refuse(347_txt);
}

CommitResult CommitToneText(const FieldAt& at, std::string_view text) {
  if (text != Tx(719_txt)) {
    for (char c : text)
      if (!ToneKeyFilter(c)) return CommitResult::Refuse(348_txt);
  }
  return Store(at, TextToToneCode(text));
}

}  // namespace codec

using namespace codec;


// --- locating -----------------------------------------------------------------

std::optional<std::size_t> RowStart(const FieldTable& table, const ImageStore& image, int row) {
  if (row < 0 || row >= table.rows) return std::nullopt;
  if (table.base.resolve) return table.base.resolve(image, row);
  return table.base.start + table.base.stride * static_cast<std::size_t>(row);
}

std::optional<FieldLocation> LocateField(const FieldRef& f, const ImageStore& image) {
  const auto base = RowStart(*f.table, image, f.row);
  if (!base || !f.decl->HasValue()) return std::nullopt;
  FieldLocation loc;
  loc.block = f.table->base.block;
  loc.offset = *base + f.decl->offset;
  loc.length = f.decl->Width() + f.decl->ownsAlso;
  if (f.decl->storage == Storage::Bit) loc.bit = f.decl->bit;
  return loc;
}

std::string FieldLabel(const FieldDecl& d) {
  std::string s = Tx(d.label);
  if (d.labelNumber > 0) s += ' ' + std::to_string(d.labelNumber);
  return s;
}

// --- showing --------------------------------------------------------------------

std::vector<ShownChoice> FieldChoices(const FieldRef& f, const ImageStore& image) {
  const auto base = RowStart(*f.table, image, f.row);
  return ChoicesAt(AtOf(f, image, nullptr, base.value_or(0)));
}

namespace {

// The field as shown; a list's entry is searched in `choices` when they are
// already built.
FieldView ShowWith(const FieldRef& f, const ImageStore& image, const std::vector<ShownChoice>* choices) {
  FieldView v;
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base) {
    v.exists = false;
    return v;
  }
  if (!r.applicable) {
    v.applicable = false;
    v.text = kNotApplicableText;
    return v;
  }
  const FieldAt at = AtOf(f, image, nullptr, *r.base);
  v.raw = ReadStored(at);
  // A reference shows what it names, also when that is gone: never Off.
  if (d.refers && v.raw) {
    const Target t = d.refers->kind->resolve(at, *v.raw, d.refers->param);
    if (t.state == Target::State::Missing) {
      v.missingTarget = true;
      v.text = MissingTargetText(t);
      return v;
    }
  }
  if (d.hooks && d.hooks->show) {
    v.text = d.hooks->show(at);
    // A list with its own text still tells which entry holds the value.
    if (IsList(d) && v.raw && d.storage != Storage::ByteList)
      v.choice = FindChoice(at, *v.raw, Match::Last, choices).position;
    return v;
  }
  if (d.kind == ControlKind::CheckBox) {
    v.checked = IsTicked(d, v.raw);
    v.text.assign(1, v.checked ? '1' : '0');
    return v;
  }
  switch (d.storage) {
    case Storage::None:
    case Storage::Custom:
      return v;
    case Storage::Text:
      v.text = DecodeFixedText(d, image.Block(f.table->base.block), at.offset());
      return v;
    case Storage::ByteList:
      v.text = JoinEntries(EntriesAt(at));
      return v;
    case Storage::Tone:
      v.text = ToneCodeToText(static_cast<ToneCode>(*v.raw));
      return v;
    default:
      break;
  }
  if (IsList(d)) {
    if (!v.raw) return v;
    ChoiceFound found = FindChoice(at, *v.raw, Match::First, choices);
    v.choice = found.position;
    v.text = std::move(found.text);
    return v;
  }
  if (v.raw) v.text = FormatNumber(d, *v.raw);
  return v;
}

}  // namespace

FieldView ShowField(const FieldRef& f, const ImageStore& image) { return ShowWith(f, image, nullptr); }

FieldView ShowFieldAndChoices(const FieldRef& f, const ImageStore& image, std::vector<ShownChoice>& choices) {
  const auto base = RowStart(*f.table, image, f.row);
  if (!base || !IsList(*f.decl)) {
    choices.clear();
    return ShowWith(f, image, nullptr);
  }
  choices = ChoicesAt(AtOf(f, image, nullptr, *base));
  return ShowWith(f, image, &choices);
}

// --- committing -------------------------------------------------------------------

namespace {

// Input modes whose characters the field's own commit decides (tones).
bool OwnerDecides(std::uint8_t mode) {
  return mode == filter::kOwnerRule || mode == filter::kOwnerRule2 || mode == filter::kOwnerList ||
         mode == filter::kOwnerList2;
}

}  // namespace

std::optional<std::size_t> UntypedCharacter(const FieldRef& f, const ImageStore& image, std::string_view input) {
  const FieldDecl& d = *f.decl;
  if (d.filter == filter::kNone || OwnerDecides(d.filter) || d.kind == ControlKind::CheckBox) return std::nullopt;
  const std::string_view text = d.storage == Storage::Text ? input : Trim(input);
  if (d.off.text.n && text == Tx(d.off.text)) return std::nullopt;
  if (IsList(d) && ChoiceValueOf(AtOf(f, image, nullptr, RowStart(*f.table, image, f.row).value_or(0)), text))
    return std::nullopt;
  std::string typed;
  for (std::size_t i = 0; i < text.size(); ++i) {
    FilterContext ctx;
    ctx.text = typed;
    ctx.selectionStart = typed.size();
    const auto c = FilterChar(d.filter, text[i], ctx);
    if (!c || *c == '\b') return i;
    typed.push_back(*c);
  }
  return std::nullopt;
}

CommitResult CommitFieldText(const FieldRef& f, ImageStore& image, std::string_view input) {
  const FieldDecl& d = *f.decl;
  if (!d.HasValue()) return {CommitStatus::NotEditable, {0}};
  const std::string_view text = d.storage == Storage::Text ? input : Trim(input);
  const Resolved r = Resolve(f, image);
  // Custom commits decide themselves what a missing row means (a frequency
  // typed into an empty channel row creates the channel).
  if (d.hooks && d.hooks->commitText) {
    if (!r.base && d.storage != Storage::Custom) return {CommitStatus::NotEditable, {0}};
    if (r.base && !r.applicable) return {CommitStatus::NotApplicable, {0}};
    if (r.disabled.n) return CommitResult::Refuse(r.disabled);
    return d.hooks->commitText(AtOf(f, image, &image, r.base.value_or(0)), text);
  }
  if (!r.base) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  if (r.disabled.n) return CommitResult::Refuse(r.disabled);
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (d.kind == ControlKind::CheckBox) {
    if (text == "1" || text == Tx(727_txt)) return CommitFieldCheck(f, image, true);
    if (text == "0" || text == Tx(728_txt)) return CommitFieldCheck(f, image, false);
    return CommitResult::Refuse(352_txt);
  }
  switch (d.storage) {
    case Storage::Text: return CommitFixedText(at, text);
    case Storage::ByteList: return CommitOrderText(at, text);
    case Storage::Tone: return CommitToneText(at, text);
    case Storage::Custom: return {CommitStatus::NotEditable, {0}};
    default: break;
  }
  if (IsList(d)) return CommitListText(at, text);
  return CommitNumberText(at, text);
}

CommitResult CommitFieldChoice(const FieldRef& f, ImageStore& image, long value) {
  const Resolved r = Resolve(f, image);
  if (!r.base || !f.decl->HasValue() || f.decl->storage == Storage::ByteList)
    return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  if (r.disabled.n) return CommitResult::Refuse(r.disabled);
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (HasChoice(at, value)) return Store(at, value);
  return CommitResult::Refuse(752_txt);
}

CommitResult CommitFieldCheck(const FieldRef& f, ImageStore& image, bool ticked) {
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base || d.kind != ControlKind::CheckBox) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  if (r.disabled.n) return CommitResult::Refuse(r.disabled);
  const FieldAt at = AtOf(f, image, &image, *r.base);
  const std::optional<long> stored = ReadStored(at);
  const long value = ticked ? d.check.ticked : d.check.clear;
  // A box already in that state keeps its value; one whose byte is neither
  // value (never programmed) takes the value of the state set.
  if (IsTicked(d, stored) == ticked && (stored == value || (ticked && d.check.tickedWhenNot))) return {};
  return Store(at, value);
}

CommitResult SpinField(const FieldRef& f, ImageStore& image, bool up) {
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base || !IsNumeric(d) || !d.HasRange()) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  if (r.disabled.n) return CommitResult::Refuse(r.disabled);
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (d.hooks && d.hooks->spin) return d.hooks->spin(at, up);
  const std::optional<long> stored = ReadStored(at);
  long shown = LONG_MIN;  // nothing shown: the step starts at an end of the range
  if (stored && !(d.blankFfff && *stored == 0xFFFF)) shown = ToShown(d, *stored);
  if (IsBlankShown(d, stored)) shown = *d.blankShows;
  return Store(at, ToStored(d, SpinStep(shown, d.range, up)));
}

bool NormaliseField(const FieldRef& f, ImageStore& image) {
  const FieldDecl& d = *f.decl;
  if (!d.hooks || !d.hooks->normalise) return false;
  const Resolved r = Resolve(f, image);
  if (!r.base || !r.applicable) return false;
  d.hooks->normalise(AtOf(f, image, &image, *r.base));
  return true;
}

TextNo FieldDisabledReason(const FieldRef& f, const ImageStore& image) { return Resolve(f, image).disabled; }

CommitResult ApplyFieldText(const FieldRef& f, ImageStore& image, std::string_view text) {
  const FieldView shown = ShowField(f, image);
  if (text == shown.text) return {};
  return CommitFieldText(f, image, text);
}

// --- references -------------------------------------------------------------------

Target ResolveTarget(const FieldRef& f, const ImageStore& image) {
  const FieldDecl& d = *f.decl;
  if (!d.refers) return {};
  const auto base = RowStart(*f.table, image, f.row);
  if (!base) return {};
  const FieldAt at = AtOf(f, image, nullptr, *base);
  const std::optional<long> stored = ReadStored(at);
  if (!stored) return {};
  return d.refers->kind->resolve(at, *stored, d.refers->param);
}

bool ReleaseField(const FieldRef& f, ImageStore& image) {
  const FieldDecl& d = *f.decl;
  if (!d.refers) return false;
  const auto base = RowStart(*f.table, image, f.row);
  if (!base) return false;
  const FieldAt at = AtOf(f, image, &image, *base);
  const std::optional<long> before = ReadStored(at);
  WriteStored(at, d.refers->none);
  const std::optional<long> after = ReadStored(at);
  if (d.hooks && d.hooks->afterCommit && before != after)
    d.hooks->afterCommit(at, before.value_or(-1), after.value_or(-1));
  return before != after;
}

std::string MissingTargetText(const Target& t) { return FormatText(Tx(301_txt), {t.name, Tx(t.reason)}); }

// --- problems of stored values ------------------------------------------------------

namespace {

const FieldDecl* LeaderOf(const FieldAt& at) {
  for (const FieldDecl& d : at.table.fields)
    if (d.offset == at.decl.pair.partner && d.pair.role == PairRole::Leader) return &d;
  return nullptr;
}

bool FollowsEmptyLeader(const FieldAt& at, std::optional<long> stored) {
  if (at.decl.pair.role != PairRole::Follower || !stored || IsNoneValue(at.decl, *stored)) return false;
  const FieldDecl leader = PartnerDecl(at.decl);
  const std::optional<long> lead = ReadStored(FieldAt{at.image, at.writable, leader, at.table, at.row, at.base});
  return !lead || IsNoneValue(leader, *lead);
}

bool ToneRoundTrips(long code) {
  return code == kToneOff || TextToToneCode(ToneCodeToText(static_cast<ToneCode>(code))) == code;
}

// A problem as a language text and the texts it names.
struct Problem {
  TextNo text;
  std::vector<std::string> args{};
};

std::optional<Problem> ProblemAt(const FieldAt& at) {
  const FieldDecl& d = at.decl;
  const std::optional<long> stored = ReadStored(at);
  if (d.refers && stored) {
    const Target t = d.refers->kind->resolve(at, *stored, d.refers->param);
    if (t.state == Target::State::Missing) return Problem{t.reason};
    return std::nullopt;
  }
  if (d.hooks && d.hooks->problem) {
    const TextNo t = d.hooks->problem(at);
    if (t.n) return Problem{t};
  }
  if (FollowsEmptyLeader(at, stored)) {
    const FieldDecl* leader = LeaderOf(at);
    return Problem{327_txt, {leader ? FieldLabel(*leader) : std::string()}};
  }
  if (d.kind == ControlKind::CheckBox) {
    const bool odd = stored && !d.check.tickedWhenNot && *stored != d.check.ticked && *stored != d.check.clear;
    return odd ? std::optional<Problem>(Problem{323_txt}) : std::nullopt;
  }
  switch (d.storage) {
    case Storage::Text: return TextIsTypable(at) ? std::nullopt : std::optional<Problem>(Problem{325_txt});
    case Storage::ByteList: {
      if (IsBlankList(at)) return Problem{329_txt};  // shown in its declared order, sent as blank
      for (const std::string& e : EntriesAt(at))
        if (e.empty()) return Problem{329_txt};
      return std::nullopt;
    }
    case Storage::Tone:
      return stored && !ToneRoundTrips(*stored) ? std::optional<Problem>(Problem{324_txt}) : std::nullopt;
    case Storage::Custom:
    case Storage::None: return std::nullopt;
    default: break;
  }
  if (IsList(d)) {
    // A list that shows its values itself (a polarity: any value but 0 is the
    // other one) holds every value.
    if (d.hooks && d.hooks->show) return std::nullopt;
    if (!stored) return Problem{328_txt};
    if (d.blankUnset && *stored == BlankOf(d)) return std::nullopt;
    return HasChoice(at, *stored) ? std::nullopt : std::optional<Problem>(Problem{322_txt});
  }
  if (!IsNumeric(d) || !d.HasRange()) return std::nullopt;
  if (!stored) return Problem{328_txt};
  if (ShowsOff(d, *stored) || IsBlankShown(d, stored) || (d.blankFfff && *stored == 0xFFFF)) return std::nullopt;
  // A cell of a pair holds a value or is empty: outside the range is empty.
  if (d.pair.role != PairRole::None) return std::nullopt;
  const long shown = ToShown(d, *stored);
  if (shown >= d.range.minimum && shown <= d.range.maximum) return std::nullopt;
  return Problem{321_txt, {FormatUnits(d.range.minimum, d.decimals), FormatUnits(d.range.maximum, d.decimals)}};
}

long NearestChoice(const std::vector<ShownChoice>& choices, long value) {
  long best = choices.front().value;
  for (const ShownChoice& c : choices)
    if (std::labs(c.value - value) < std::labs(best - value)) best = c.value;
  return best;
}

}  // namespace

std::optional<std::string> FieldProblem(const FieldRef& f, const ImageStore& image) {
  const Resolved r = Resolve(f, image);
  if (!r.base || !r.applicable || !f.decl->HasValue()) return std::nullopt;
  const auto problem = ProblemAt(AtOf(f, image, nullptr, *r.base));
  if (!problem) return std::nullopt;
  return FormatText(Tx(problem->text), problem->args);
}

bool InitialiseField(const FieldRef& f, ImageStore& image) {
  const FieldDecl& d = *f.decl;
  const auto base = RowStart(*f.table, image, f.row);
  if (!d.initial || !base) return false;
  const FieldAt at = AtOf(f, image, &image, *base);
  if (d.storage != Storage::ByteList) return Store(at, *d.initial).ok();
  std::vector<std::uint8_t> order;
  for (const ShownChoice& c : ChoicesAt(at)) order.push_back(static_cast<std::uint8_t>(c.value));
  if (order.size() != d.length) return false;
  image.Block(f.table->base.block).Write(at.offset(), order);
  return true;
}

bool FixField(const FieldRef& f, ImageStore& image) {
  const Resolved r = Resolve(f, image);
  if (!r.base || !r.applicable || !f.decl->HasValue()) return false;
  const FieldDecl& d = *f.decl;
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (!ProblemAt(at)) return false;
  const auto bytes = [&] { return image.Block(f.table->base.block).Read(at.offset(), d.Width() ? d.Width() : 1); };
  const auto before = bytes();
  const std::optional<long> stored = ReadStored(at);
  if (d.refers) {
    ReleaseField(f, image);
  } else if (d.hooks && d.hooks->problem) {
    return false;  // only the user can mend it (a frequency outside the band)
  } else if (FollowsEmptyLeader(at, stored)) {
    WriteStored(at, NoneValueOf(d));
  } else if (d.kind == ControlKind::CheckBox) {
    Store(at, d.check.clear);
  } else if (d.storage == Storage::Text) {
    KeepTypableText(at);
  } else if (d.storage == Storage::ByteList) {
    const auto choices = ChoicesAt(at);
    if (choices.size() != d.length) return false;
    for (std::size_t i = 0; i < d.length; ++i)
      image.Block(f.table->base.block).SetByte(at.offset() + i, static_cast<std::uint8_t>(choices[i].value));
  } else if (d.storage == Storage::Tone) {
    Store(at, kToneOff);
  } else if (IsList(d)) {
    const auto choices = ChoicesAt(at);
    if (choices.empty()) return false;
    Store(at, NearestChoice(choices, stored.value_or(0)));
  } else {
    const long shown = stored ? ToShown(d, *stored) : d.range.minimum;
    Store(at, ToStored(d, LimitToRange(shown, d.range)));
  }
  return bytes() != before;
}

}  // namespace zmp
