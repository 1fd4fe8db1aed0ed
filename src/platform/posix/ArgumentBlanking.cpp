#include "posix/ArgumentBlanking.h"

#include <cstring>

namespace mivo {

void blankArgument(char* argument) {
    std::memset(argument, 'x', std::strlen(argument));
}

}  // namespace mivo
