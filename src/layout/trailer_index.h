// The order of the trailers at the end of a layout file: the first unit of
// each id above 0 and below kTrailerIdLimit (the first in the list among
// equal ids), in ascending id order. Units are noted in list order, by the
// writer from the list and by the reader as it reads them.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/layout.h"

namespace layout {

class TrailerIndex {
 public:
  TrailerIndex() : firstOfId_(kTrailerIdLimit, -1) {}

  void Note(std::int16_t id, int index) {
    if (id > 0 && id < kTrailerIdLimit && firstOfId_[static_cast<std::size_t>(id)] < 0) {
      firstOfId_[static_cast<std::size_t>(id)] = index;
    }
  }

  // The list indexes of the units that have a trailer, in trailer order.
  std::vector<int> Order() const {
    std::vector<int> order;
    for (int index : firstOfId_) {
      if (index >= 0) order.push_back(index);
    }
    return order;
  }

 private:
  std::vector<int> firstOfId_;
};

}  // namespace layout
