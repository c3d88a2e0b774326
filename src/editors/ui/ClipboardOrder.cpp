#include "editors/ui/ClipboardOrder.h"

#include <QApplication>
#include <QClipboard>
#include <map>

namespace zmp {

namespace {

struct Order {
  unsigned long textChanges = 0;
  std::map<const void*, unsigned long> copies;  // owner -> textChanges when it copied
  bool watching = false;
};

Order& TheOrder() {
  static Order order;
  return order;
}

void Watch() {
  Order& o = TheOrder();
  if (o.watching || !QApplication::instance()) return;
  o.watching = true;
  QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, [] { ++TheOrder().textChanges; });
}

}  // namespace

void NoteOwnCopy(const void* owner) {
  Watch();
  TheOrder().copies[owner] = TheOrder().textChanges;
}

bool OwnCopyIsNewest(const void* owner) {
  const Order& o = TheOrder();
  const auto it = o.copies.find(owner);
  return it != o.copies.end() && it->second == o.textChanges;
}

}  // namespace zmp
