-- Format catalogue: one row per track format that GPSBabel both reads and writes as a
-- file. The build turns this file into "DataCnv.s3db" beside the program and refuses it
-- when a row breaks the rules below.
--
-- Codigo       file extension, lower case, without the dot; unique (the first row with
--              an extension is the one used to read a file of that extension)
-- Descripcion  the text the user sees; unique, without "=" or "|"
-- Code         GPSBabel's format name ("gpsbabel -^3" lists them); every one here reads
--              and writes tracks
--
-- Left out on purpose: formats GPSBabel can only read or only write tracks in (the
-- wizard offers every row as a target and every extension as a source), KMZ (GPSBabel
-- neither reads nor writes it), GeoJSON and ESRI shapefiles (GPSBabel reads their lines
-- back as routes, which the conversion drops), DeLorme GPL (read back empty), Swiss Map
-- XOL (Swiss grid only), and formats that share an extension with a row above.
-- The rows come back in this order; the GPX row is the import's target.

CREATE TABLE FormatDesc (
    Codigo      TEXT NOT NULL,
    Descripcion TEXT NOT NULL UNIQUE,
    Code        TEXT NOT NULL
);

INSERT INTO FormatDesc (Codigo, Descripcion, Code) VALUES
    ('gpx',  'GPS Exchange Format (*.GPX)',                    'gpx'),
    ('kml',  'Google Earth Keyhole Markup Language (*.KML)',   'kml'),
    ('plt',  'OziExplorer Track (*.PLT)',                      'ozi'),
    ('tcx',  'Garmin Training Center (*.TCX)',                 'gtrnctr'),
    ('fit',  'Garmin FIT Activity (*.FIT)',                    'garmin_fit'),
    ('igc',  'FAI/IGC Flight Recorder (*.IGC)',                'igc'),
    ('nmea', 'NMEA 0183 Sentences (*.NMEA)',                   'nmea'),
    ('csv',  'Universal CSV (*.CSV)',                          'unicsv'),
    ('gdb',  'Garmin MapSource Database (*.GDB)',              'gdb'),
    ('txt',  'Garmin MapSource Text (*.TXT)',                  'garmin_txt'),
    ('gtm',  'GPS TrackMaker (*.GTM)',                         'gtm'),
    ('usr',  'Lowrance USR (*.USR)',                           'lowranceusr'),
    ('upt',  'Magellan SD eXplorist (*.UPT)',                  'magellanx'),
    ('mmo',  'Memory-Map Navigator Overlay (*.MMO)',           'mmo'),
    ('ovl',  'Geogrid-Viewer Overlay (*.OVL)',                 'ggv_ovl'),
    ('log',  'Geogrid-Viewer Tracklog (*.LOG)',                'ggv_log'),
    ('trl',  'TrackLogs Digital Mapping (*.TRL)',              'dmtlog'),
    ('rdn',  'IGN Rando Track (*.RDN)',                        'ignrando'),
    ('trk',  'iGO8 Track (*.TRK)',                             'igo8'),
    ('tk',   'Kompass DAV Track (*.TK)',                       'kompass_tk'),
    ('nav',  'Mainnav Track (*.NAV)',                          'mainnav'),
    ('tr7',  'MapAsia Track (*.TR7)',                          'mapasia_tr7'),
    ('ht',   'Humminbird Track (*.HT)',                        'humminbird_ht'),
    ('dat',  'Destinator TrackLog (*.DAT)',                    'destinator_trl'),
    ('gps',  'HikeTech (*.GPS)',                               'hiketech'),
    ('bin',  'Navitel Track (*.BIN)',                          'navitel_trk');
