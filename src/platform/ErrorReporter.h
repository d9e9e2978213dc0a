// The hook of the error report: a message box in the program, a recording
// fake in the tests.
#pragma once

#include <string>

namespace luma {

// Shows an error to the user; the program goes on afterwards.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual void Report(const std::string& message) = 0;
};

}  // namespace luma
