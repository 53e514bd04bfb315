#pragma once

#include <QString>

// The text of `key` in section [Misc] of the language file in force, with every "*|*"
// turned into a line break; `defaultText` when there is no language file, no such key or
// an empty value. Every text the program composes at run time is fetched this way.
QString LookupText(const QString& key, const QString& defaultText);
