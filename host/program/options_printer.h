// The options file "Kamoria.dat" as a person reads it: nine rows of name,
// workstations and warehouse.
#pragma once

#include <ostream>
#include <string>

namespace weltor_program {

// False, with `error` saying why, when the bytes are not an options record.
bool printOptions(const std::string& bytes, std::ostream& out, std::string& error, const std::string& indent = "");
// The whole file; false, with `error`, when it cannot be read or has the wrong size.
bool printOptionsFile(const std::string& path, std::ostream& out, std::string& error, const std::string& indent = "");

}  // namespace weltor_program
