#include "ui/SchriftDialog.h"
