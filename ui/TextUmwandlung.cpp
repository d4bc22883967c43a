#include "ui/TextUmwandlung.h"
