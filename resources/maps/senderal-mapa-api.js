/*
 * The version-2 map interface that the map page calls, on top of Leaflet.
 *
 * The page was written for a map service that no longer answers, so this file gives
 * it the same names: GMap2 and its methods, GLatLng, GPolyline, the two controls, the
 * four map types, GEvent and GClientGeocoder. Leaflet itself is placed in front of this
 * text when the program is built, so one script file serves the page.
 *
 * Only the route line depends on nothing outside this file: without a network the line
 * and the controls are drawn over an empty background.
 */
(function (window, document, L) {
    'use strict';

    // The program names its home page as the Referer of every tile request (the providers
    // ask for one). The browser drops a Referer the page's policy would not send, and a
    // page from a local file would send none to a plain http server.
    (function () {
        var meta = document.createElement('meta');
        meta.name = 'referrer';
        meta.content = 'unsafe-url';
        (document.head || document.getElementsByTagName('head')[0]).appendChild(meta);
    })();

    // Leaflet's stylesheet lies beside the page.
    (function () {
        var link = document.createElement('link');
        link.rel = 'stylesheet';
        link.type = 'text/css';
        link.href = 'leaflet.css';
        (document.head || document.getElementsByTagName('head')[0]).appendChild(link);
    })();

    var MAX_ZOOM = 18;
    // What the program hands the page before it loads: the tiles of each map type (the
    // settings may name other providers) and the texts of the notes, in the user's language.
    var CONFIG = window.SenderalMapaConfig || {};
    var CAPAS = CONFIG.capas || {};
    var TEXTOS = CONFIG.textos || {};
    var OSM = '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a>';
    var ESRI = 'Tiles &copy; <a href="https://www.esri.com/">Esri</a> &mdash; Esri, Maxar, ' +
        'Earthstar Geographics, and the GIS User Community';

    // Notes over the map, one line each; a kind of note is shown once.
    var avisos = null;
    function aviso(clase, texto) {
        if (!texto || !document.body)
            return;
        if (!avisos) {
            avisos = document.createElement('div');
            avisos.id = 'senderal-avisos';
            var s = avisos.style;
            s.position = 'fixed';
            // Below the zoom and type buttons, so a long line covers none of them.
            s.top = '56px';
            s.left = '50%';
            s.transform = 'translateX(-50%)';
            s.maxWidth = '80%';
            s.zIndex = '2000';
            s.pointerEvents = 'none';
            s.font = '13px sans-serif';
            document.body.appendChild(avisos);
        }
        var linea = avisos.querySelector('[data-clase="' + clase + '"]');
        if (!linea) {
            linea = document.createElement('div');
            linea.setAttribute('data-clase', clase);
            var l = linea.style;
            l.background = 'rgba(255, 255, 255, 0.9)';
            l.color = '#333';
            l.border = '1px solid #999';
            l.borderRadius = '4px';
            l.padding = '3px 8px';
            l.marginBottom = '4px';
            l.whiteSpace = 'nowrap';
            l.overflow = 'hidden';
            l.textOverflow = 'ellipsis';
            avisos.appendChild(linea);
        }
        linea.textContent = texto;
        linea.title = texto;
    }
    function quitarAviso(clase) {
        var linea = avisos && avisos.querySelector('[data-clase="' + clase + '"]');
        if (linea)
            linea.parentNode.removeChild(linea);
    }
    window.senderalAviso = function (clase, texto) {
        // A server that refuses the tiles explains their absence better than "offline".
        if (clase === 'rechazo')
            quitarAviso('sinteselas');
        aviso(clase, texto);
    };

    function tiles(url, attribution, nativeZoom, extra) {
        var options = {
            attribution: attribution,
            maxZoom: Math.max(MAX_ZOOM, nativeZoom),
            maxNativeZoom: nativeZoom
        };
        if (extra)
            for (var k in extra)
                options[k] = extra[k];
        return function () {
            var layer = L.tileLayer(url, options);
            // Only tiles that really fail (no network and none kept on disk) bring the note.
            layer.on('tileerror', function () {
                if (!(avisos && avisos.querySelector('[data-clase="rechazo"]')))
                    aviso('sinteselas', TEXTOS.sinTeselas);
            });
            return layer;
        };
    }
    function configured(key, url, attribution, nativeZoom, extra) {
        var c = CAPAS[key];
        if (c && c.url)
            return tiles(c.url, c.atribucion || '', c.zoomMax || nativeZoom, extra);
        return tiles(url, attribution, nativeZoom, extra);
    }

    // A map type: its name as the page reads it, the tile layers it shows, and the name
    // its button shows, in the user's language when the program gave one.
    function GMapType(name, layerFactories, key) {
        this._name = name;
        this._factories = layerFactories;
        this._label = (key && CAPAS[key] && CAPAS[key].nombre) || name;
    }
    GMapType.prototype.getName = function () {
        return this._name;
    };
    GMapType.prototype._createLayers = function () {
        return this._factories.map(function (f) {
            return f();
        });
    };
    GMapType.prototype._maxZoom = function () {
        return this._createLayers().reduce(function (z, layer) {
            return Math.max(z, layer.options.maxZoom);
        }, MAX_ZOOM);
    };

    var osmTiles = configured('Mapa', 'https://tile.openstreetmap.org/{z}/{x}/{y}.png',
        OSM + ' contributors', 19);
    var topoTiles = configured('Relieve', 'https://{s}.tile.opentopomap.org/{z}/{x}/{y}.png',
        OSM + ' contributors, SRTM | &copy; <a href="https://opentopomap.org">OpenTopoMap</a> ' +
        '(CC-BY-SA)', 17, {subdomains: 'abc'});
    var imageryTiles = configured('Satelite',
        'https://server.arcgisonline.com/ArcGIS/rest/services/World_Imagery/MapServer/tile/{z}/{y}/{x}',
        ESRI, 18);
    var labelTiles = configured('Hibrido', 'https://server.arcgisonline.com/ArcGIS/rest/services/' +
        'Reference/World_Boundaries_and_Places/MapServer/tile/{z}/{y}/{x}', ESRI, 18);

    window.G_NORMAL_MAP = new GMapType('Mapa', [osmTiles], 'Mapa');
    window.G_PHYSICAL_MAP = new GMapType('Relieve', [topoTiles], 'Relieve');
    window.G_SATELLITE_MAP = new GMapType('Satélite', [imageryTiles], 'Satelite');
    window.G_HYBRID_MAP = new GMapType('Híbrido', [imageryTiles, labelTiles], 'Hibrido');

    // Settings the program could not use are said as soon as the page has a body.
    document.addEventListener('DOMContentLoaded', function () {
        (CONFIG.avisos || []).forEach(function (texto, i) {
            aviso('config' + i, texto);
        });
    });

    // Point: x is the longitude and y the latitude, as the page's handlers read them.
    function GLatLng(lat, lng) {
        this._ll = L.latLng(Number(lat), Number(lng));
        this.x = this._ll.lng;
        this.y = this._ll.lat;
    }
    GLatLng.prototype.lat = function () {
        return this._ll.lat;
    };
    GLatLng.prototype.lng = function () {
        return this._ll.lng;
    };
    GLatLng.prototype.toString = function () {
        return '(' + this._ll.lat + ', ' + this._ll.lng + ')';
    };
    function fromLeaflet(ll) {
        return new GLatLng(ll.lat, ll.lng);
    }

    function GLatLngBounds(bounds) {
        this._b = bounds;
    }
    GLatLngBounds.prototype.getCenter = function () {
        return fromLeaflet(this._b.getCenter());
    };
    GLatLngBounds.prototype.getSouthWest = function () {
        return fromLeaflet(this._b.getSouthWest());
    };
    GLatLngBounds.prototype.getNorthEast = function () {
        return fromLeaflet(this._b.getNorthEast());
    };

    function GPolyline(points, color, weight, opacity) {
        var lls = (points || []).map(function (p) {
            return p._ll;
        });
        this._points = lls;
        this._line = L.polyline(lls, {
            color: color || '#0000ff',
            weight: weight === undefined ? 5 : weight,
            opacity: opacity === undefined ? 0.8 : opacity,
            interactive: false
        });
    }
    GPolyline.prototype.getBounds = function () {
        return new GLatLngBounds(L.latLngBounds(this._points));
    };
    GPolyline.prototype.getVertexCount = function () {
        return this._points.length;
    };
    GPolyline.prototype._addTo = function (map) {
        this._line.addTo(map._map);
    };

    // Zoom buttons and a metric scale.
    function GLargeMapControl() {}
    GLargeMapControl.prototype._addTo = function (map) {
        L.control.zoom({
            position: 'topleft',
            zoomInTitle: 'Acercar',
            zoomOutTitle: 'Alejar'
        }).addTo(map._map);
        L.control.scale({imperial: false}).addTo(map._map);
    };

    // One button per map type added to the map, the current one pressed.
    var TypeButtons = L.Control.extend({
        options: {position: 'topright'},
        initialize: function (gmap) {
            this._gmap = gmap;
        },
        onAdd: function () {
            this._div = L.DomUtil.create('div', 'leaflet-bar senderal-tipos');
            this._div.style.background = '#fff';
            L.DomEvent.disableClickPropagation(this._div);
            this.refresh();
            return this._div;
        },
        refresh: function () {
            if (!this._div)
                return;
            var gmap = this._gmap, div = this._div;
            div.innerHTML = '';
            gmap._types.forEach(function (type) {
                var a = L.DomUtil.create('a', '', div);
                a.href = '#';
                a.textContent = type._label;
                a.style.display = 'inline-block';
                a.style.width = 'auto';
                a.style.padding = '0 8px';
                a.style.fontWeight = type === gmap._current ? 'bold' : 'normal';
                L.DomEvent.on(a, 'click', function (e) {
                    L.DomEvent.preventDefault(e);
                    gmap.setMapType(type);
                });
            });
        }
    });

    function GMapTypeControl() {}
    GMapTypeControl.prototype._addTo = function (map) {
        map._typeControl = new TypeButtons(map);
        map._typeControl.addTo(map._map);
    };

    function GMap2(container) {
        this._map = L.map(container, {
            zoomControl: false,
            doubleClickZoom: false,
            scrollWheelZoom: false,
            maxZoom: MAX_ZOOM
        });
        this._map.attributionControl.setPrefix('<a href="https://leafletjs.com">Leaflet</a>');
        this._types = [];
        this._current = null;
        this._currentLayers = [];
        this._typeControl = null;
        this._pendingView = null;
        var self = this;
        this._keepRightControlsVisible();
        // A page loaded while its view was hidden has no size yet; the view is set
        // once the page gets one.
        this._map.on('resize', function () {
            self._keepRightControlsVisible();
            if (self._pendingView && self._hasSize()) {
                var v = self._pendingView;
                self._pendingView = null;
                self._applyView(v.center, v.zoom, v.bounds);
            }
        });
    }
    // How far the map reaches past the right edge of the window: the page makes it a
    // little wider than the window.
    GMap2.prototype._overflowRight = function () {
        var r = this._map.getContainer().getBoundingClientRect();
        return Math.max(0, Math.round(r.right - window.innerWidth));
    };
    // The type buttons and the attribution sit at the right: keep them inside the window.
    GMap2.prototype._keepRightControlsVisible = function () {
        var over = this._overflowRight();
        var corners = this._map.getContainer().querySelectorAll('.leaflet-right');
        for (var i = 0; i < corners.length; ++i)
            corners[i].style.right = over + 'px';
    };
    GMap2.prototype._hasSize = function () {
        var s = this._map.getSize();
        return s.x > 0 && s.y > 0;
    };
    GMap2.prototype.addControl = function (control) {
        if (control && control._addTo)
            control._addTo(this);
    };
    GMap2.prototype.addMapType = function (type) {
        if (type && this._types.indexOf(type) < 0)
            this._types.push(type);
        if (this._typeControl)
            this._typeControl.refresh();
    };
    GMap2.prototype.setMapType = function (type) {
        if (!type || type === this._current)
            return;
        var map = this._map;
        this._currentLayers.forEach(function (layer) {
            map.removeLayer(layer);
        });
        quitarAviso('sinteselas');
        map.setMaxZoom(type._maxZoom());
        this._currentLayers = type._createLayers();
        this._currentLayers.forEach(function (layer) {
            layer.addTo(map);
            layer.bringToBack();
        });
        this._current = type;
        if (this._types.indexOf(type) < 0)
            this._types.push(type);
        if (this._typeControl)
            this._typeControl.refresh();
    };
    GMap2.prototype.getCurrentMapType = function () {
        return this._current || window.G_NORMAL_MAP;
    };
    GMap2.prototype.getBoundsZoomLevel = function (bounds) {
        this._lastBounds = bounds;
        if (!this._hasSize())
            return this._map.getZoom() || 1;
        // The route is fitted into the part of the map the window shows, with a margin.
        var zoom = this._map.getBoundsZoom(bounds._b, false,
            L.point(2 * this._overflowRight() + 40, 40));
        return isFinite(zoom) ? zoom : MAX_ZOOM;
    };
    GMap2.prototype._applyView = function (center, zoom, bounds) {
        if (bounds)
            this._map.fitBounds(bounds._b, {
                maxZoom: MAX_ZOOM,
                animate: false,
                padding: L.point(this._overflowRight() + 20, 20)
            });
        else
            this._map.setView(center._ll, zoom, {animate: false});
    };
    GMap2.prototype.setCenter = function (center, zoom) {
        if (zoom === undefined || zoom === null)
            zoom = this._map.getZoom() === undefined ? 1 : this._map.getZoom();
        var bounds = this._lastBounds &&
            this._lastBounds.getCenter()._ll.equals(center._ll) ? this._lastBounds : null;
        this._lastBounds = null;
        // Leaflet needs a view before it draws anything, size or not.
        this._map.setView(center._ll, zoom, {animate: false});
        if (!this._hasSize())
            this._pendingView = {center: center, zoom: zoom, bounds: bounds};
    };
    GMap2.prototype.setZoom = function (zoom) {
        this._map.setZoom(zoom);
    };
    GMap2.prototype.getZoom = function () {
        return this._map.getZoom();
    };
    GMap2.prototype.getCenter = function () {
        return fromLeaflet(this._map.getCenter());
    };
    GMap2.prototype.addOverlay = function (overlay) {
        if (overlay && overlay._addTo)
            overlay._addTo(this);
    };
    GMap2.prototype.enableDoubleClickZoom = function () {
        this._map.doubleClickZoom.enable();
    };
    GMap2.prototype.enableScrollWheelZoom = function () {
        this._map.scrollWheelZoom.enable();
    };
    GMap2.prototype.enableContinuousZoom = function () {
        // Leaflet's zoom is animated already.
    };

    var GEvent = {
        addListener: function (source, name, handler) {
            if (!(source instanceof GMap2))
                return null;
            var map = source._map, fn;
            if (name === 'click') {
                fn = function (e) {
                    handler.call(source, null, fromLeaflet(e.latlng));
                };
            } else if (name === 'zoomend') {
                var oldZoom = map.getZoom();
                map.on('zoomstart', function () {
                    oldZoom = map.getZoom();
                });
                fn = function () {
                    handler.call(source, oldZoom, map.getZoom());
                };
            } else if (name === 'mousemove') {
                fn = function (e) {
                    handler.call(source, fromLeaflet(e.latlng));
                };
            } else {
                fn = function () {
                    handler.apply(source, arguments);
                };
            }
            map.on(name, fn);
            return {map: map, name: name, fn: fn};
        },
        removeListener: function (listener) {
            if (listener)
                listener.map.off(listener.name, listener.fn);
        }
    };

    // There is no geocoding service behind the page: every address is unknown.
    function GClientGeocoder() {}
    GClientGeocoder.prototype.getLatLng = function (address, callback) {
        if (callback)
            callback(null);
    };

    window.GBrowserIsCompatible = function () {
        return !!(L && document.createElementNS);
    };
    window.GMap2 = GMap2;
    window.GLatLng = GLatLng;
    window.GLatLngBounds = GLatLngBounds;
    window.GPolyline = GPolyline;
    window.GLargeMapControl = GLargeMapControl;
    window.GMapTypeControl = GMapTypeControl;
    window.GEvent = GEvent;
    window.GClientGeocoder = GClientGeocoder;
})(window, document, window.L);
