// SPDX-License-Identifier: MIT
#include "angles.h"

namespace navdump {

void convert_angles(records::SampleRecord& record) {
  for (std::size_t i : kAngleFields) {
    record.field[i] = (Extended(record.field[i]) * kDegreesPerRadian).to_double();
  }
}

}  // namespace navdump
