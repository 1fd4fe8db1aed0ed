#pragma once
// Any user can read a process's command line on Linux, so a password given
// as an argument is overwritten in place once the program has read it.

namespace mivo {

void blankArgument(char* argument);

}  // namespace mivo
