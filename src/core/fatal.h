#pragma once

#include <stdexcept>

// A configuration error whose boxes have been shown: start-up stops and main exits with 1.
class FatalConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
