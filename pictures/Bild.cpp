#include "pictures/Bild.h"
