// The declarations of a conventional channel: the 26 rows of the channel edit
// form and the two layouts of the channel grid, all over the channel records that the channel index points
// at. Standard library only.
#pragma once

#include <span>
#include <string_view>

#include "fields/FieldCodec.h"

namespace zmp {

// The channel edit form: one row per channel, rows 1..30 that exist.
const FieldTable& ChannelEditTable();
// The channel grid: rows 1..30, missing channels listed with empty cells.
// The full layout when bit 2 of the model option byte is set, else the short.
const FieldTable& ChannelGridTable(bool fullLayout);

// The two modules of the channel editors.
const EditorModule& ChannelGridModule();
const EditorModule& ChannelEditModule();

// A field of a channel (0-based) by its key in the channel edit form
// ("rx_frequency", "name"); the declaration is null for a key it lacks.
FieldRef ChannelField(int channel, std::string_view key);

// After a change of a channel's type or frequencies: every list of the channel
// whose stored value its filtered list no longer offers takes the first value
// it offers (operation mode after TX = RX, CW ID after the TX frequency went).
void ReconcileChannelLists(ImageStore& image, int channel);

}  // namespace zmp
