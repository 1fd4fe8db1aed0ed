#include <stdio.h>
#include <unistd.h>
#include <QString>
#include <vector>
#include "../../Outside.h"
#include "ports/Missing.h"
