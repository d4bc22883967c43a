#include "app/About.h"
