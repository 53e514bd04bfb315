#pragma once

#include "FicheroRegular.h"
#include "GpxMapping.h"
#include "TrackStores.h"

#include <QIODevice>
#include <QString>

// Reads one GPX document through a mapping: the header fields and every track point of
// every track and segment, in document order; a document whose tracks hold no point
// gives the points of its first route instead. Never opens a dialog: on failure it
// returns false and `error` names the line and the cause. `points` is filled but not
// opened; the caller opens or empties it.
//
// When the document is damaged after its root element began (a file cut short), `danado`
// is set and `points` keeps every point that ended before the damage.
bool LeerGpx(QIODevice& device, const TGpxMapping& mapping, TrackHeader& header,
             TTrackPointStore& points, QString& error, bool* danado = nullptr);

// The same over a file path: only a regular file is read (see LeerFicheroRegular), and
// a file that changes while it is read is read again once, then refused.
bool LeerFicheroGpx(const QString& path, const TGpxMapping& mapping, TrackHeader& header,
                    TTrackPointStore& points, QString& error, const TLecturaFichero& opciones = {},
                    bool* danado = nullptr);

// The same over bytes already read; `raw` is released as soon as it is decoded.
bool LeerGpxBytes(QByteArray&& raw, const TGpxMapping& mapping, TrackHeader& header,
                  TTrackPointStore& points, QString& error, bool* danado = nullptr);
