#include "ui/Dialoge.h"
