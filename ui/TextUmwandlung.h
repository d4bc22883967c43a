#pragma once

#include <QString>
#include <string>

// The bridge between the core's Windows-1252 text and the windows' QString.
// Every conversion in either direction goes through these two.
QString alsQString(const std::string& cp1252);

// Characters that Windows-1252 cannot hold become '?'.
std::string alsCp1252(const QString& text);
