// Ordered lists of the field codec (Storage::ByteList): the entries in list
// order, typed orders and one entry moved at a time; the bytes are only permuted.
#include "fields/FieldCodec.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>

#include "lang/LanguageTexts.h"
#include "fields/CodecParts.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp {

using namespace codec;

namespace {

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The values in the typed order: each typed entry matches one of `names`
// (each used once) and takes its value; nothing when one matches none.
std::optional<std::vector<std::uint8_t>> Reordered(const std::vector<std::string_view>& typed,
                                                   const std::vector<std::string>& names,
                                                   const std::vector<std::uint8_t>& values) {
  if (typed.size() != names.size()) return std::nullopt;
  std::vector<std::uint8_t> now(typed.size());
  std::vector<bool> used(names.size(), false);
  for (std::size_t i = 0; i < typed.size(); ++i) {
    std::size_t j = 0;
    while (j < names.size() && (used[j] || names[j] != typed[i])) ++j;
    if (j == names.size()) return std::nullopt;
    used[j] = true;
    now[i] = values[j];
  }
  return now;
}

// Typed entries in a new order: each must match one of the present entries
// (each used once), so the bytes are only permuted. A complete order of the
// choices (each named once) is stored whatever the list held (a damaged
// list); a blank list typed in the order it shows stays blank.
}  // namespace

namespace codec {

std::string JoinEntries(const std::vector<std::string>& entries) {
  bool any = false;
  for (const auto& e : entries) any = any || !e.empty();
  if (!any) return {};
  std::string out;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i) out += kListSeparator;
    out += entries[i];
  }
  return out;
}

CommitResult CommitOrderText(const FieldAt& at, std::string_view text) {
  const FieldDecl& d = at.decl;
  std::vector<std::string_view> typed;
  const std::string_view sep = TrimSpaces(kListSeparator);
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(sep, start);
    typed.push_back(TrimSpaces(text.substr(start, end == std::string_view::npos ? text.size() - start : end - start)));
    if (end == std::string_view::npos) break;
    start = end + sep.size();
  }
  if (typed.size() != d.length) return CommitResult::Refuse(353_txt);
  const std::vector<std::uint8_t> old = ListBytes(at);
  auto now = Reordered(typed, EntriesAt(at), old);
  if (!now) {
    std::vector<std::string> names;
    std::vector<std::uint8_t> values;
    for (const ShownChoice& c : ChoicesAt(at)) {
      names.push_back(c.text);
      values.push_back(static_cast<std::uint8_t>(c.value));
    }
    now = Reordered(typed, names, values);
  }
  if (!now) return CommitResult::Refuse(353_txt);
  if (*now == old && IsBlankList(at)) return {};
  at.Writable().Block(at.table.base.block).Write(at.offset(), *now);
  return {};
}


// A list never set (every byte 0xFF) that holds each of its choices once:
// it shows its choices in their declared order, and a move stores that order
// with the move.
bool IsBlankList(const FieldAt& at) {
  const auto choices = ChoicesAt(at);
  if (choices.size() != at.decl.length) return false;
  for (const ShownChoice& c : choices)
    if (c.value < 0 || c.value >= 0xFF) return false;
  return at.image.Block(at.table.base.block).IsAll(at.offset(), at.decl.length, 0xFF);
}

// The entries' bytes, or a blank list's declared order.
std::vector<std::uint8_t> ListBytes(const FieldAt& at) {
  if (IsBlankList(at)) {
    std::vector<std::uint8_t> out;
    for (const ShownChoice& c : ChoicesAt(at)) out.push_back(static_cast<std::uint8_t>(c.value));
    return out;
  }
  return at.image.Block(at.table.base.block).Read(at.offset(), at.decl.length);
}

std::vector<std::string> EntriesAt(const FieldAt& at) {
  const auto choices = ChoicesAt(at);
  std::vector<std::string> out;
  for (const std::uint8_t b : ListBytes(at)) {
    std::string text;
    for (const ShownChoice& c : choices)
      if (c.value == b) {
        text = c.text;
        break;
      }
    out.push_back(std::move(text));
  }
  return out;
}

}  // namespace codec


std::vector<std::string> FieldEntries(const FieldRef& f, const ImageStore& image) {
  if (f.decl->storage != Storage::ByteList) return {};
  const auto base = RowStart(*f.table, image, f.row);
  if (!base) return {};
  return EntriesAt(AtOf(f, image, nullptr, *base));
}

CommitResult MoveFieldEntry(const FieldRef& f, ImageStore& image, int index, bool towardsFront) {
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base || d.storage != Storage::ByteList) return {CommitStatus::NotEditable, {0}};
  const int other = towardsFront ? index - 1 : index + 1;
  const int n = static_cast<int>(d.length);
  if (index < 0 || index >= n || other < 0 || other >= n) return {};
  if (r.disabled.n) return CommitResult::Refuse(r.disabled);
  const FieldAt at = AtOf(f, image, &image, *r.base);
  std::vector<std::uint8_t> bytes = ListBytes(at);
  std::swap(bytes[static_cast<std::size_t>(index)], bytes[static_cast<std::size_t>(other)]);
  image.Block(f.table->base.block).Write(at.offset(), bytes);
  return {};
}

}  // namespace zmp
