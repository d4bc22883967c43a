#include "ui/Status.h"
