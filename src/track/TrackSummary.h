#pragma once

#include <QString>

class TFormData;

// The track summary printed by `senderal --info`: one "key: value" a line.
// Reads the loaded stores of `data`; throws ESenderalError on an unreadable number.
QString ResumenTrack(const TFormData& data);
