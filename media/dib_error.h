#pragma once

#include <stdexcept>

namespace media {

// Raised by the DIB canvas and the controls drawn through it.
class EMMDIBError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace media
