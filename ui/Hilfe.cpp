#include "ui/Hilfe.h"
