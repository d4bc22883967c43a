#include "import/Import.h"
