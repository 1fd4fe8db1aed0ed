#pragma once
// The names a rule's actions use: the numbered file a message is saved to
// and the command line of the program run on it.

#include <cstdint>
#include <string>
#include <string_view>

#include "launch/CommandLineWords.h"

namespace mivo {

// A program text is used up to this many characters.
constexpr std::size_t kProgramTextLimit = 399;

// "<directory>/Mivo<number>.txt", put together as plain text: a "%" in the
// directory's name is a character like any other.
std::string temporaryFileName(std::string_view directory, std::int32_t number);

// The program text of a rule with its first "%s" replaced by `fileName` and
// each "%%" by "%"; every other "%" stays as typed. The text is the user's
// and is never used as a format, so no setting can make the program read or
// write memory it should not. The file name is put in as it is: it is one
// argument of the program, whatever blanks or quotes its folder's name has.
CommandLine programCommandLine(std::string_view programText, std::string_view fileName);

// The next number handed out after `number`; the stored counter is 32 bits
// and wraps round rather than overflow.
std::int32_t nextFileNumber(std::int32_t number);

}  // namespace mivo
