#include "output/DateiErzeugung.h"
