// The two rules of every numeric setting: how a spin button steps it, and how
// a value is brought into its range. Pure logic, shared by every editor.
#pragma once

namespace zmp {

// Range of a numeric setting: minimum, maximum and step (step >= 1).
struct RangeRecord {
  long minimum;
  long maximum;
  long step;
};

// A step up gives value + step when minimum <= value < maximum, else the
// minimum (the value wraps from the maximum to the minimum); a step down gives
// value - step when minimum < value <= maximum, else the maximum. A step past
// the end of the range is limited to the range.
long SpinStep(long value, const RangeRecord& range, bool up);

// Brings a value into range: above the maximum becomes the maximum, below the
// minimum the minimum, then it is rounded down to a multiple of the step
// (counted from 0, never below the minimum).
long LimitToRange(long value, const RangeRecord& range);

}  // namespace zmp
