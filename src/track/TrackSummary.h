#pragma once

#include <QString>

class TFormData;

// The track summary printed by `senderal --info`: one "key: value" a line.
// Reads the loaded stores of `data`; throws ESenderalError on an unreadable number.
QString ResumenTrack(const TFormData& data);

// The figures of points `desde` to `hasta` (1-based, as the point panel numbers them),
// printed by `senderal --info FILE --from N --to M`. Throws ESenderalError for numbers
// outside the track or an unreadable number.
QString ResumenTramo(const TFormData& data, int desde, int hasta);
