#include "fields/NumericRules.h"

namespace zmp {

long SpinStep(long value, const RangeRecord& range, bool up) {
  const long step = range.step > 0 ? range.step : 1;
  if (up) {
    if (value >= range.minimum && value < range.maximum) {
      const long next = value + step;
      return next > range.maximum ? range.maximum : next;
    }
    return range.minimum;
  }
  if (value > range.minimum && value <= range.maximum) {
    const long next = value - step;
    return next < range.minimum ? range.minimum : next;
  }
  return range.maximum;
}

long LimitToRange(long value, const RangeRecord& range) {
  const long step = range.step > 0 ? range.step : 1;
  if (value > range.maximum) value = range.maximum;
  if (value < range.minimum) value = range.minimum;
  long rounded = value - (value % step + step) % step;
  if (rounded < range.minimum) rounded = value;  // a minimum off the step grid stays reachable
  return rounded;
}

std::optional<long> CommitNumber(std::string_view text, const RangeRecord& range) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return range.minimum;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  constexpr long kSaturate = 1'000'000'000L;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    if (value < kSaturate) value = value * 10 + (c - '0');
  }
  return LimitToRange(negative ? -value : value, range);
}

}  // namespace zmp
