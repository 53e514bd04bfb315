#pragma once

#include <QString>

// The IBPindex service's public address, used while the settings name no other.
QString IBPIndexURLPorDefecto();

// The service's base address: an absolute http(s) address ending in "/". Every address of
// the service is this base followed by a path; the base alone is the home page.
QString IBPIndexURL();

// Sets the base address from the settings (key IBPIndexURL of [Config]). An empty or
// unusable value restores the public address; a missing final "/" is added. Call it on
// the user-interface thread; each query copies the base when it starts.
void SetIBPIndexURL(const QString& url);

// `url` as a base address, or empty when it is not an absolute http(s) address.
QString NormalizarBaseIBP(const QString& url);
