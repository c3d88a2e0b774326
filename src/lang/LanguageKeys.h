// The fixed eight-digit keys by which the language file names each of the
// 1318 text slots, as runs of consecutive keys in slot order.
#pragma once

#include <array>
#include <cstdint>

namespace zmp {

inline constexpr int kTextCount = 1318;

struct KeyRun {
  std::uint32_t firstKey;
  std::uint16_t count;
};

inline constexpr std::array<KeyRun, 97> kKeyRuns{{
    {10000001, 1}, {10001001, 13}, {10001101, 12}, {10002001, 31},
    {10003100, 11}, {10003200, 2}, {10003300, 20}, {10003400, 11},
    {10003450, 4}, {10003500, 7}, {10003600, 4}, {10003700, 4},
    {10003800, 6}, {10003900, 4}, {10004001, 5}, {10005001, 8},
    {10006001, 3}, {10007001, 2}, {10007101, 6}, {10007201, 1},
    {10008001, 3}, {10009001, 6}, {10010001, 76}, {10010080, 21},
    {10010200, 113}, {10011001, 23}, {10011031, 29}, {10012001, 2},
    {10013001, 6}, {10013010, 1}, {10014001, 9}, {10015001, 3},
    {10016001, 4}, {10016006, 6}, {10017001, 26}, {10017501, 6},
    {10018001, 4}, {10019001, 2}, {10020001, 2}, {10020501, 1},
    {10021001, 8}, {10021301, 2}, {10021401, 1}, {10021411, 2},
    {10021501, 5}, {10022001, 1}, {10023001, 32}, {10023101, 18},
    {10024001, 53}, {10024100, 4}, {10024201, 4}, {10024800, 10},
    {10025001, 3}, {10026001, 17}, {10026019, 4}, {10026024, 3},
    {10026033, 36}, {10027001, 15}, {10028001, 3}, {10029001, 12},
    {10029101, 6}, {10030001, 18}, {10030022, 11}, {10031001, 39},
    {10032001, 2}, {10033001, 3}, {10034001, 3}, {10035001, 6},
    {10037001, 10}, {10037101, 6}, {10038001, 76}, {10038100, 11},
    {10038201, 3}, {10039001, 9}, {10039100, 4}, {10040001, 15},
    {10041001, 8}, {10041101, 4}, {10042001, 10}, {10043001, 16},
    {10044001, 13}, {10045001, 60}, {10046001, 15}, {10047001, 18},
    {10048001, 7}, {10049001, 6}, {10050001, 9}, {10051001, 6},
    {10052001, 8}, {10053000, 155}, {10054000, 4}, {10054005, 4},
    {10054010, 2}, {10055001, 6}, {10056001, 7}, {10057001, 1},
    {19000001, 6},
}};

// Key of a slot (0..1317); 0 for a slot outside the table.
constexpr std::uint32_t KeyOfSlot(int slot) {
  if (slot < 0) return 0;
  for (const auto& run : kKeyRuns) {
    if (slot < run.count) return run.firstKey + static_cast<std::uint32_t>(slot);
    slot -= run.count;
  }
  return 0;
}

// Slot of a key; -1 when the key is not in the table.
constexpr int SlotOfKey(std::uint32_t key) {
  int slot = 0;
  for (const auto& run : kKeyRuns) {
    if (key >= run.firstKey && key < run.firstKey + run.count)
      return slot + static_cast<int>(key - run.firstKey);
    slot += run.count;
  }
  return -1;
}

}  // namespace zmp
