// Stand-ins for the run-time library's exception classes that callers tell apart by type:
// file input and output, graphics in a wrong format, and exhausted resources or memory.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrin {

// A file that cannot be opened, read or written ("File not found", "File access denied").
class EInOutError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A picture or clipboard content of the wrong format.
class EInvalidGraphic : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A system resource that cannot be made.
class EOutOfResources : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Memory that cannot be had.
class EOutOfMemory : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The run-time library's text for a failed file operation with this errno value.
std::string io_error_message(int error_number);

}  // namespace kestrin
