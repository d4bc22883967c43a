#include "ui/LinkZahl.h"
