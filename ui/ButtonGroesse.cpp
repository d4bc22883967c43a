#include "ui/ButtonGroesse.h"
