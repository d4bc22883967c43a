#include "output/Vorschau.h"
