#pragma once

#include <QString>

// Why a request failed, in the user's language, from the parts of a finished reply (its
// QNetworkReply::NetworkError, its HTTP status and Qt's own error text): the server did
// not answer in time, refused the connection, could not be found, or answered with an
// HTTP error status. Other failures fall back to Qt's (translated) text. Empty when the
// request succeeded with a 2xx status.
QString MotivoFalloRed(int errorRed, int estadoHttp, const QString& textoQt);

// "This could not be opened" for an address or file handed to the desktop (browser, mail
// program, the program for a file type), naming what it was.
QString TextoNoSePuedeAbrir(const QString& que);
