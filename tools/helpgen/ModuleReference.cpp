// Every editor's fields for the reference pages, read from the module list:
// label, kind, range and step, the choices as the lists offer them on every
// model, and what "Off" means.
#include "ModuleReference.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "editors/HelpLinks.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp::helpgen {

namespace {

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

std::string Latin1(const std::string& text) {
  std::string s;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) s += c;
    else {
      s += static_cast<char>(0xC0 | (u >> 6));
      s += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return s;
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

std::string ToneRange() {
  return "QT " + ToneListText(1) + " to " + ToneListText(kQtToneCount) + " Hz, or a DQT code " +
         ToneListText(kQtToneCount + 1) + " to " + ToneListText(kToneArrayCount) + " (N normal, I inverted)";
}

// What "Off" (or an empty entry) means, where a field has more to say than
// "not used".
std::string OffMeaning(const FieldDecl& d) {
  static const std::map<std::string_view, std::string> meanings{
      {"qt_decode", "The channel opens for any signal: no QT/DQT is required."},
      {"qt_encode", "No QT/DQT is sent with the transmission."},
      {"ran_decode", "No RAN is required to receive."},
      {"ran_encode", "No RAN is sent."},
      {"multi_table", "The channel uses no multi table."},
      {"rx_frequency", "An empty receive frequency deletes the channel."},
      {"tx_frequency", "An empty transmit frequency leaves the channel without a transmit frequency."},
  };
  if (auto it = meanings.find(d.key); it != meanings.end()) return it->second;
  if (d.off.text.n) return "\"" + Label(d.off.text) + "\": the function is not used.";
  return {};
}

std::string KindOf(ControlKind k) {
  switch (k) {
    case ControlKind::Edit: return "text";
    case ControlKind::EditSpin: return "number (type it or step it with the arrows)";
    case ControlKind::DropList: return "list";
    case ControlKind::CheckBox: return "check box (ticked: on)";
    case ControlKind::EditCombo: return "text or list";
    case ControlKind::Button: return "button: opens its settings window";
    case ControlKind::ListSpin: return "ordered list (move entries with the arrows)";
    default: return {};
  }
}

std::string RangeText(const FieldDecl& d) {
  if (d.storage == Storage::Custom && d.filter == filter::kFrequency) return BandRanges();
  if (d.storage == Storage::Tone) return ToneRange();
  if (d.storage == Storage::Text) return std::to_string(d.length) + " characters";
  if (!d.HasRange() || d.kind == ControlKind::CheckBox || d.kind == ControlKind::DropList) return {};
  std::string r = FormatUnits(d.range.minimum, d.decimals) + " to " + FormatUnits(d.range.maximum, d.decimals) +
                  " in steps of " + FormatUnits(d.range.step, d.decimals);
  if (d.off.text.n) r = Label(d.off.text) + ", or " + r;
  return r;
}

// Images of every model, with and without the option board, holding a
// channel of each type: the lists of every field as the editors offer them.
std::vector<ImageStore> VariantImages() {
  std::vector<ImageStore> images;
  for (int modelIndex = 0; modelIndex < kModelCount; ++modelIndex) {
    for (std::uint8_t options : {std::uint8_t{0xFF}, std::uint8_t{0xFB}}) {
      ImageStore image;
      image.MakeBlank();
      ModelInfo model(image);
      model.SetRecord(ModelRecord::Default());
      model.SetModelIndex(modelIndex);
      for (const BandRow& b : BandTable()) {
        model.SetBandWord(b.bandWord);
        if (IsValidRecord(model.Record()) && ModelIndexOf(model.Record()) == modelIndex) break;
      }
      ModelRecord r = model.Record();
      r.bytes[14] = options;
      model.SetRecord(r);
      MakeNewImageForCurrentModel(image);
      ChannelStore store(image);
      char rx[32], tx[32];
      std::snprintf(rx, sizeof rx, "%.4f", model.Lower(0) + 1.0);
      std::snprintf(tx, sizeof tx, "%.4f", model.Lower(1) + 2.0);
      for (int ch = 0; ch < 3; ++ch) {
        CommitFieldText(ChannelField(ch, "rx_frequency"), store.Image(), rx);
        CommitFieldText(ChannelField(ch, "tx_frequency"), store.Image(), tx);
        const auto types = FieldChoices(ChannelField(ch, "channel_type"), store.Image());
        if (ch < static_cast<int>(types.size())) CommitFieldChoice(ChannelField(ch, "channel_type"), store.Image(), types[ch].value);
      }
      images.push_back(std::move(image));
    }
  }
  return images;
}

std::vector<std::string> ChoicesOf(const FieldTable& table, const FieldDecl& decl,
                                   const std::vector<ImageStore>& images) {
  std::vector<std::string> out;
  if (decl.kind != ControlKind::DropList && !(decl.kind == ControlKind::EditCombo && !decl.choices.empty()))
    return out;
  for (const ImageStore& image : images)
    for (int row = 0; row < std::min(table.rows, 3); ++row)
      for (const ShownChoice& c : FieldChoices(FieldRef{&table, &decl, row}, image))
        if (std::find(out.begin(), out.end(), Latin1(c.text)) == out.end()) out.push_back(Latin1(c.text));
  return out;
}

}  // namespace

std::vector<ReferencePage> ModuleReferencePages(const std::function<std::string(const std::string&)>& introOf) {
  const auto images = VariantImages();
  std::vector<ReferencePage> pages;
  for (const EditorModule* module : EditorModules()) {
    ReferencePage page{ReferencePageFile(module->key), Label(module->title), {}, {}};
    page.introHtml = introOf(page.file);
    std::set<std::string> anchors;
    for (const FieldTable& table : module->tables) {
      if (table.hidden) continue;
      if (module->tables.size() > 1 && table.title.n && !table.key.empty())
        page.fields.push_back({"table-" + std::string(table.key), Label(table.title), {}, {}, {}, {}, true});
      for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDecl& d = table.fields[i];
        ReferenceField f;
        f.anchor = std::string(d.key);
        if (!anchors.insert(f.anchor).second) continue;  // a field two layouts show is described once
        f.label = i < table.columns.size() && table.columns[i].title.n ? Label(table.columns[i].title)
                                                                        : Label(d.label);
        f.kind = KindOf(d.kind);
        f.heading = d.kind == ControlKind::GroupLabel;
        f.range = RangeText(d);
        f.offMeaning = OffMeaning(d);
        f.choices = ChoicesOf(table, d, images);
        if (d.storage == Storage::None && d.kind == ControlKind::EditSpin) {
          f.kind = "the row shown (Page Up and Page Down step it)";
          f.range = "1 to " + std::to_string(d.range.maximum);
        }
        page.fields.push_back(std::move(f));
      }
    }
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace zmp::helpgen
