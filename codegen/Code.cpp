#include "codegen/Code.h"
