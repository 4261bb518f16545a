#pragma once

#include <cstdint>
#include <string>

// DOS code page 850, in which the ERP system stores its texts.
namespace cp850 {

char32_t zeichen(uint8_t byte);
std::string nachUtf8(const std::string& dos);
// False when a character has no place in the code page (it becomes '?').
bool ausUtf8(const std::string& utf8, std::string& dos);

} // namespace cp850
