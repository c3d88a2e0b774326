// A language text number, written in code as 638_txt. Every text the program
// shows is referred to this way, so the language-file test can find each
// number the code uses and check that the shipped file gives it a text.
#pragma once

namespace zmp {

struct TextNo {
  int n;
  constexpr bool operator==(const TextNo&) const = default;
};

constexpr TextNo operator""_txt(unsigned long long n) { return TextNo{static_cast<int>(n)}; }

}  // namespace zmp
