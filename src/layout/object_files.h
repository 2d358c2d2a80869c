// Which files named by a layout the installation lacks: what the removals,
// the missing list and the map ask. The answers come from the caller (the
// installation's folders, or a test), so that the layout's code includes
// nothing of the installation. A name is asked as the record holds it.
#pragma once

#include <string>

namespace layout {

class ObjectFiles {
 public:
  virtual ~ObjectFiles() = default;
  virtual bool ModelMissing(const std::string& name) = 0;         // a placed model's, without ".mod"
  virtual bool GboMissing(const std::string& name) = 0;           // a GBO piece's
  virtual bool RollingStockMissing(const std::string& name) = 0;  // a unit's
};

}  // namespace layout
