#include "editors/EmbeddedMessageFields.h"

#include <array>

#include "editors/EditorKinds.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

// A line of spaces only is stored empty (32 bytes of 0x00). The line is read
// back up to its first 0x00 or 0xFF, never past its 32 bytes.
CommitResult CommitLine(const FieldAt& at, std::string_view text) {
  if (text.find_first_not_of(' ') == std::string_view::npos) text = {};
  return CommitFixedText(at, text);
}

constexpr FieldHooks kLineHooks{.commitText = CommitLine};

constexpr FieldDecl Line(std::string_view key, int line, std::size_t offset, int id) {
  return {.key = key, .label = 445_txt, .labelNumber = line, .kind = ControlKind::Edit, .storage = Storage::Text,
          .offset = offset, .length = emb::kLineLength, .filter = filter::kAll,
          .maxLength = static_cast<int>(emb::kLineLength), .pad = 0x00, .valueId = id, .hooks = &kLineHooks};
}

constexpr std::array<FieldDecl, 2> kFields{{
    Line("line_1", 1, emb::kLine1, 1010),
    Line("line_2", 2, emb::kLine2, 1009),
}};

const FieldTable kTable{.key = "", .title = 445_txt, .fields = kFields};

}  // namespace

const EditorModule& EmbeddedMessageModule() {
  static const EditorModule module{.kind = static_cast<int>(EditorKind::Emb), .key = "embedded_message",
                                   .title = 445_txt, .tables = {kTable}};
  return module;
}

}  // namespace zmp
