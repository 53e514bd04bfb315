#pragma once

#include "TrackStores.h"

#include <string>
#include <vector>

// One point of an inline fixture: the texts exactly as a GPX file would give them.
struct TPuntoPrueba {
    std::string lat, lon;
    std::string ele = {}, time = {};
};

// Fills `store` with `points` and opens it.
inline void LlenarPuntos(TTrackPointStore& store, const std::vector<TPuntoPrueba>& points) {
    for (const TPuntoPrueba& p : points) {
        store.NuevoPunto();
        store.FijarCampo(CampoPunto::Lat, p.lat);
        store.FijarCampo(CampoPunto::Lon, p.lon);
        store.FijarCampo(CampoPunto::Ele, p.ele);
        store.FijarCampo(CampoPunto::Time, p.time);
    }
    store.Open();
}
