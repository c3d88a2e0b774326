// Which was copied last: rows of one of the program's own record clipboards
// (whole channels, whole test channels) or text on the system clipboard. The
// grids' Paste (Ctrl+V and the popup's Paste) pastes what was copied last:
// the records while no text has been put on the system clipboard since they
// were copied (by "to Clip", a spreadsheet or any other program), the text
// otherwise.
#pragma once

namespace zmp {

// Notes that records were copied into the clipboard named by owner.
void NoteOwnCopy(const void* owner);
// True when owner's records were copied after the system clipboard last changed.
bool OwnCopyIsNewest(const void* owner);

}  // namespace zmp
