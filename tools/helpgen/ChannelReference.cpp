// The channel editors' fields for the reference pages, read from their own
// tables: the channel edit form walks ChannelFieldTable, the channel grid its
// column table; list choices come from the channel store as it offers them.
#include "ChannelReference.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "app/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/ChannelGridSource.h"
#include "editors/ChannelStore.h"
#include "editors/ToneCode.h"

namespace zmp::helpgen {

namespace {

using namespace chfield;

// A label as the window shows it, without its mnemonic "&", in UTF-8 (the
// language file is Latin-1).
std::string Label(TextNo t) {
  std::string s;
  for (char c : Tx(t)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '&') continue;
    if (u < 0x80) {
      s += c;
    } else {
      s += static_cast<char>(0xC0 | (u >> 6));
      s += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return s;
}

std::string Anchor(int field) { return "field-" + std::to_string(field); }

std::string RangeText(const RangeRecord& r) {
  if (r.minimum == 0 && r.maximum == 0) return {};
  return std::to_string(r.minimum) + " to " + std::to_string(r.maximum) + " in steps of " + std::to_string(r.step);
}

// Every band the program knows, for the frequency fields.
std::string BandRanges() {
  std::set<std::string> seen;
  std::string s;
  for (const BandRow& b : BandTable()) {
    std::string r(b.rangeText);
    if (r.rfind("* ", 0) == 0) r.erase(0, 2);
    if (!seen.insert(r).second) continue;
    s += (s.empty() ? "" : ", ") + r;
  }
  return "within the band of the repeater's model (Model Information): " + s;
}

// The list items of a field, gathered over every model, option board and
// channel type, in the order the lists show them.
class ChoiceCollector {
 public:
  ChoiceCollector() {
    for (int model = 0; model < kModelCount; ++model)
      for (std::uint8_t options : {std::uint8_t{0xFF}, std::uint8_t{0xFB}}) Collect(model, options);
  }
  const std::vector<std::string>& Of(int field) { return choices_[field]; }

 private:
  void Collect(int modelIndex, std::uint8_t options) {
    ImageStore image;
    image.MakeBlank();
    ModelInfo model(image);
    ModelRecord r = ModelRecord::Default();
    model.SetRecord(r);
    model.SetModelIndex(modelIndex);
    for (const BandRow& b : BandTable()) {
      model.SetBandWord(b.bandWord);
      if (IsValidRecord(model.Record()) && ModelIndexOf(model.Record()) == modelIndex) break;
    }
    r = model.Record();
    r.bytes[14] = options;
    model.SetRecord(r);
    MakeNewImageForCurrentModel(image);
    ChannelStore store(image);
    if (store.CreateChannelWithDefaults(0) != StoreStatus::Ok) return;
    char rx[32], tx[32];
    std::snprintf(rx, sizeof rx, "%.4f", model.Lower(0) + 1.0);
    std::snprintf(tx, sizeof tx, "%.4f", model.Lower(1) + 2.0);
    store.SetFieldText(0, kRxFrequency, rx);
    store.SetFieldText(0, kTxFrequency, tx);
    for (const OptionItem& type : store.OptionList(kChannelType, 0)) {
      store.SetFieldValue(0, kChannelType, type.value);
      for (int f = 0; f < kCount; ++f)
        for (const OptionItem& item : store.OptionList(f, 0)) Add(f, item.text);
    }
  }
  void Add(int field, const std::string& text) {
    auto& list = choices_[field];
    if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
  }
  std::vector<std::string> choices_[kCount];
};

// What "Off" means where a field has it.
std::string OffMeaning(int field) {
  switch (field) {
    case kToneDecode: return "The channel opens for any signal: no QT/DQT is required.";
    case kToneEncode: return "No QT/DQT is sent with the transmission.";
    case kRanDecode: return "No RAN is required to receive.";
    case kRanEncode: return "No RAN is sent.";
    case kMultiTable: return "The channel uses no multi table.";
    case kRxFrequency: return "An empty receive frequency deletes the channel.";
    case kTxFrequency: return "An empty transmit frequency leaves the channel without a transmit frequency.";
    default: return {};
  }
}

std::string KindOf(ControlKind k) {
  switch (k) {
    case ControlKind::Edit: return "text";
    case ControlKind::EditSpin: return "number (type it or step it with the arrows)";
    case ControlKind::DropList: return "list";
    case ControlKind::CheckBox: return "check box (ticked: on)";
    case ControlKind::EditCombo: return "text or list";
    case ControlKind::GroupLabel: return {};
    case ControlKind::Button: return "button: opens its settings window";
  }
  return {};
}

std::string ToneRange() {
  return "QT " + ToneListText(1) + " to " + ToneListText(kQtToneCount) + " Hz, or a DQT code " +
         ToneListText(kQtToneCount + 1) + " to " + ToneListText(kToneArrayCount) + " (N normal, I inverted)";
}

// Range, choices and "Off" of one field, shared by both pages.
ReferenceField Describe(int field, ChoiceCollector& choices) {
  const FieldRow& row = ChannelFieldTable[static_cast<std::size_t>(field)];
  ReferenceField f;
  f.anchor = Anchor(field);
  f.label = Label(row.text);
  f.kind = KindOf(row.kind);
  f.heading = row.kind == ControlKind::GroupLabel;
  f.range = RangeText(row.range);
  f.offMeaning = OffMeaning(field);
  // A number field whose 0 is shown as "Off".
  if (!f.offMeaning.empty() && row.range.minimum == 0 && row.range.maximum > 0)
    f.range = "Off, or " + RangeText({row.range.step, row.range.maximum, row.range.step});
  if (field == kRxFrequency || field == kTxFrequency) f.range = BandRanges();
  if (field == kToneDecode || field == kToneEncode) f.range = ToneRange();
  if (field == kName) f.range = std::to_string(row.maxLength) + " characters";
  f.choices = choices.Of(field);
  return f;
}

}  // namespace

std::vector<ReferencePage> ChannelReferencePages(const std::string& channelEditIntro,
                                                 const std::string& channelInfoIntro) {
  ChoiceCollector choices;
  ReferencePage edit{"channel-edit.html", Label(766_txt), channelEditIntro, {}};
  for (int f = 0; f < kCount; ++f) edit.fields.push_back(Describe(f, choices));

  ReferencePage grid{"channel-information.html", Label(712_txt), channelInfoIntro, {}};
  // The full layout holds every column of the short one.
  for (const GridColumn& c : ChInfoColumns(true)) {
    ReferenceField f = Describe(c.field, choices);
    f.label = Label(c.title);
    if (c.editor == CellEditor::None) {
      f.kind = "the channel number (click it to select whole channels)";
      f.range = "1 to " + std::to_string(kChannelCount);
    }
    grid.fields.push_back(std::move(f));
  }
  return {grid, edit};
}

}  // namespace zmp::helpgen
