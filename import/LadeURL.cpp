#include "import/LadeURL.h"
