#include "ui/Tooltipp.h"
