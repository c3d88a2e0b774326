#include "fields/DecimalSeparator.h"

namespace zmp {

namespace {
char g_separator = '.';
}

char DecimalSeparator() { return g_separator; }

void SetDecimalSeparator(char separator) {
  if (separator == '.' || separator == ',') g_separator = separator;
}

}  // namespace zmp
