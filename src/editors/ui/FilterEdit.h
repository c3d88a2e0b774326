// The filtering edit: an edit field that takes only the characters its input
// mode allows (FilterRules.h), turning lowercase into uppercase where the mode
// says so. Typed and pasted text go through the same rule.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "fields/FilterRules.h"

namespace zmp {

class FilterEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit FilterEdit(QWidget* parent = nullptr, std::uint8_t mode = filter::kAll);

  std::uint8_t Mode() const { return mode_; }
  void SetMode(std::uint8_t mode) { mode_ = mode; }
  // Modes 15 and 16: the characters taken.
  void SetOwnerList(std::string list) { ownerList_ = std::move(list); }
  // Modes 30 and 31: the owner's rule.
  void SetOwnerRule(std::function<std::optional<char>(char, const FilterContext&)> rule) {
    ownerRule_ = std::move(rule);
  }
  // Types one character as the keyboard would; false when the mode refuses it.
  bool TypeChar(char c);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void insertFromClipboard();

 private:
  FilterContext Context() const;

  std::uint8_t mode_;
  mutable std::string ctxText_;
  std::string ownerList_;
  std::function<std::optional<char>(char, const FilterContext&)> ownerRule_;
};

}  // namespace zmp
