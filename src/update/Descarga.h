#pragma once

#include <QString>
#include <QUrl>

// The program runs what it downloads, so an update address must be https; plain http is
// accepted only on 127.0.0.1, where the tests serve their files.
bool DireccionActualizacionAdmitida(const QUrl& direccion);

// Fetches `direccion` into `rutaLocal`, never from a cache, in blocks of at most 20482
// bytes. False (and no file left behind) when the file cannot be created, the server
// cannot be reached or answers with an error status, a block cannot be read or written
// in full, or nothing arrives for `esperaMs` milliseconds. The event loop keeps painting
// meanwhile but takes no user input. `error` receives the reason in the user's language.
bool DescargarFichero(const QUrl& direccion, const QString& rutaLocal, int esperaMs = 30000,
                      QString* error = nullptr);
