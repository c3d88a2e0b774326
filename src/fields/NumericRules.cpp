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

}  // namespace zmp
