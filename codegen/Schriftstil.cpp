#include "codegen/Schriftstil.h"
