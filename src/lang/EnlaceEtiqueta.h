#pragma once

#include <functional>

class QLabel;

// Makes a plain-text label look and act like a link (blue, underlined, hand cursor, a
// left click runs `onClick`), so its caption stays a plain text a language file can
// replace without markup.
void ConvertirEnEnlace(QLabel* label, std::function<void()> onClick);
