#include "ui/MainForm.h"
