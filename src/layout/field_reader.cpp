#include "layout/field_reader.h"

namespace layout {

void FieldReader::Fault() {
  if (status_ == ReadStatus::kOk) status_ = ReadStatus::kFault;
}

}  // namespace layout
