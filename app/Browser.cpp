#include "app/Browser.h"
