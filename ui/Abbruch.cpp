#include "ui/Abbruch.h"
