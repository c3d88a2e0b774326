// The user's decimal separator, used wherever a frequency or a QT tone is shown
// and by the filtering edits. The application sets it once at start-up from the
// system locale; everything else only reads it. Input always accepts "." and ",".
#pragma once

namespace zmp {

char DecimalSeparator();
// Only "." and "," are taken; anything else leaves the separator as it was.
void SetDecimalSeparator(char separator);

}  // namespace zmp
