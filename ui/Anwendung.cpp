#include "ui/Anwendung.h"
