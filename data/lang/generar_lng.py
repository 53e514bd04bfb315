#!/usr/bin/env python3
"""Builds es.lng, en.lng and ca.lng from a translation template and the translations below.

The template is the "Custom.ini" the program writes (developer button "FillCustomIni;"),
or the one the language test writes for a freshly created window:

    SENDERAL_PLANTILLA_SALIDA=/tmp/Custom.ini QT_QPA_PLATFORM=offscreen \\
        build/tests/lang/lang_ventana_principal --gtest_filter=*ShippedFiles*
    data/lang/generar_lng.py /tmp/Custom.ini

Spanish takes the template's texts as they are (they are the program's built-in texts).
English and Catalan look each text up by its key first, then by its Spanish text; a text
without letters, an address or a name of a product stays as it is. A text without a
translation stops the script with the list of what is missing.
"""
import re
import sys
from pathlib import Path

AQUI = Path(__file__).resolve().parent

# [Misc] keys whose built-in text ends in a blank that separates it from what the program
# appends: a value cannot keep a final blank, so Spanish leaves them empty (the built-in
# text is used) and the translations end them in a line break instead.
MISC_VACIAS_ES = {"_STR_MAIN_TITLE", "_STR_MI_ERRCONVERT", "_STR_MI_QUESTIONUPD"}

CABECERA = {
    "es": "; Senderal: textos en español (los del propio programa).",
    "en": "; Senderal: English texts.",
    "ca": "; Senderal: textos en català.",
}
NOTA_VACIAS = {
    "es": "; Las claves vacías usan el texto del programa, que acaba en un espacio.",
    "en": "; An empty key uses the program's own text, which ends in a blank.",
    "ca": "; Una clau buida fa servir el text del programa, que acaba en un espai.",
}

MISC = {
    "en": {
        "_STR_CALCULANDO": "Calculating...",
        "_STR_CAPTION_EXPORT": "Export track...",
        "_STR_FILTER_ALLFILES": "All files (*.*)|*.*",
        "_STR_GENERANDO": "Generating...",
        "_STR_MAIN_TITLE": "",
        "_STR_MAPA_PLANTILLAMAL": "The tile template of %s is not usable (%s): it must be an http or https address with {z}, {x} and {y}; the default one is used.",
        "_STR_MAPA_RECHAZADAS": "The tile server %s refused the requests (HTTP %s).",
        "_STR_MAPA_SINTESELAS": "The map tiles could not be loaded (offline?); the route is shown all the same.",
        "_STR_MAPA_VALORMAL": "The value of %s is not usable (%s); the default one is used.",
        "_STR_MI_CONVERTOK": "The file has been converted successfully.",
        "_STR_MI_DAMAGED": "The file %s is damaged (%s).*|**|*%d points could be read before the damage. Do you want to open them?",
        "_STR_MI_ERORUPDATE": "There is no update available for the application.",
        "_STR_MI_ERRCONVERT": "A problem seems to have occurred during the conversion.*|*Error:*|*",
        "_STR_MI_ERRDATACONV": "Error while reading the conversion data;",
        "_STR_MI_EXPORTTRACK": "Export track...",
        "_STR_MI_FILENOTEXIST": "The route file does not exist.",
        "_STR_MI_INCOMPLETE": "(incomplete: %s)",
        "_STR_MI_INCORRECTTRACK": "Invalid track file.",
        "_STR_MI_METERS": "metres",
        "_STR_MI_NEWTRANS": "If you would like to suggest or make a new translation of the program, "
        "you can*|*do it easily by following these steps: (1) Open the file <en.lng> in the "
        "application folder with a plain text editor (Notepad, for example). (2) Translate the "
        "texts, keeping the structure they have. (3) Send it to me at "
        "<traducciones@senderal.example> with your details.*|*It will be included, with your "
        "name, in the next versions.",
        "_STR_MI_NEWVERSION": "A new version is available...",
        "_STR_MI_NFILE_ERROR": "An unusual character was found in the file name (%s). Rename the "
        "file and load the route again.*|**|*File: %s",
        "_STR_MI_NOPOINTS": "The file %s holds no track or route points.",
        "_STR_MI_NOTOUTFORMAT": "No output format has been selected.",
        "_STR_MI_OUTELEMINCORRECT": "Error; the item selected as output is not valid.",
        "_STR_MI_QUESTIONDES": "A new version is available on the web:*|*Version: %s*|*Date:  "
        "%s*|**|*Do you want to download it?",
        "_STR_MI_QUESTIONUPD": "A new version is available on the web:*|*Version: %s*|*Date:  "
        "%s*|*Do you want to download it?*|**|*NOTICE:*|*",
        "_STR_MI_SALIR": "Do you really want to close the application?",
        "_STR_MI_SAMEFORMAT": "Error; the input and output formats seem to be the same.",
        "_STR_MI_TITLEGM": "&Google Maps",
        "_STR_MI_UPDPAQUETE": "This copy of Senderal was installed from a package: updates "
        "come from the system's package manager.",
        "_STR_TITLE_SAVEMAP": "Save map image...",
        "_STR_TRACK_DESC": "Track description",
    },
    "ca": {
        "_STR_CALCULANDO": "Calculant...",
        "_STR_CAPTION_EXPORT": "Exporta el track...",
        "_STR_FILTER_ALLFILES": "Tots els fitxers (*.*)|*.*",
        "_STR_GENERANDO": "Generant...",
        "_STR_MAIN_TITLE": "",
        "_STR_MAPA_PLANTILLAMAL": "La plantilla de tessel·les de %s no és vàlida (%s): ha de ser una adreça http o https amb {z}, {x} i {y}; es fa servir la de sempre.",
        "_STR_MAPA_RECHAZADAS": "El servidor de tessel·les %s ha rebutjat les peticions (HTTP %s).",
        "_STR_MAPA_SINTESELAS": "No s'han pogut carregar les tessel·les del mapa (sense connexió?); la ruta es mostra igualment.",
        "_STR_MAPA_VALORMAL": "El valor de %s no és vàlid (%s); es fa servir el de sempre.",
        "_STR_MI_CONVERTOK": "El fitxer s'ha convertit correctament.",
        "_STR_MI_DAMAGED": "El fitxer %s està malmès (%s).*|**|*S'han pogut llegir %d punts abans del dany. Els voleu obrir?",
        "_STR_MI_ERORUPDATE": "No hi ha cap actualització disponible per a l'aplicació.",
        "_STR_MI_ERRCONVERT": "Sembla que hi ha hagut un problema en fer la conversió.*|*Error:*|*",
        "_STR_MI_ERRDATACONV": "Error en accedir a les dades de conversió;",
        "_STR_MI_EXPORTTRACK": "Exporta el track...",
        "_STR_MI_FILENOTEXIST": "El fitxer de la ruta no existeix.",
        "_STR_MI_INCOMPLETE": "(incomplet: %s)",
        "_STR_MI_INCORRECTTRACK": "El fitxer de track no és correcte.",
        "_STR_MI_METERS": "metres",
        "_STR_MI_NEWTRANS": "Si voleu proposar o fer una traducció nova del programa, ho "
        "podeu*|*fer fàcilment seguint aquests passos: (1) Obriu el fitxer <ca.lng> de la carpeta "
        "de l'aplicació amb un editor de text normal (el Bloc de notes, per exemple). (2) Traduïu "
        "els textos mantenint-ne l'estructura. (3) Envieu-me'l a l'adreça "
        "<traducciones@senderal.example> amb les vostres dades.*|*S'afegirà, amb el vostre nom, "
        "a les versions següents.",
        "_STR_MI_NEWVERSION": "Hi ha una versió nova...",
        "_STR_MI_NFILE_ERROR": "S'ha trobat un caràcter estrany al nom del fitxer (%s). Canvieu "
        "el nom del fitxer i torneu a carregar la ruta.*|**|*Fitxer: %s",
        "_STR_MI_NOPOINTS": "El fitxer %s no conté punts de track ni de ruta.",
        "_STR_MI_NOTOUTFORMAT": "No s'ha seleccionat cap format de sortida.",
        "_STR_MI_OUTELEMINCORRECT": "Error; l'element seleccionat a la sortida no és correcte.",
        "_STR_MI_QUESTIONDES": "Hi ha una versió nova al web:*|*Versió: %s*|*Data:  "
        "%s*|**|*La voleu baixar?",
        "_STR_MI_QUESTIONUPD": "Hi ha una versió nova al web:*|*Versió: %s*|*Data:  "
        "%s*|*La voleu baixar?*|**|*AVÍS:*|*",
        "_STR_MI_SALIR": "Segur que voleu tancar l'aplicació?",
        "_STR_MI_SAMEFORMAT": "Error; sembla que el format d'entrada i el de sortida són el mateix.",
        "_STR_MI_TITLEGM": "&Google Maps",
        "_STR_MI_UPDPAQUETE": "Aquesta còpia de Senderal s'ha instal·lat amb un paquet: les "
        "actualitzacions arriben amb el gestor de paquets del sistema.",
        "_STR_TITLE_SAVEMAP": "Desa la imatge del mapa...",
        "_STR_TRACK_DESC": "Descripció del track",
    },
}

# Window texts by their Spanish text: (English, Catalan).
TEXTOS = {
    "&Abrir ruta...": ("&Open route...", "&Obre una ruta..."),
    "Abrir un fichero de track": ("Open a track file", "Obre un fitxer de track"),
    "&Limpiar ruta": ("&Clear route", "&Neteja la ruta"),
    "Limpiar los datos de la ruta actual": ("Clear the data of the current route",
                                            "Neteja les dades de la ruta actual"),
    "&Cerrar aplicación": ("&Close application", "&Tanca l'aplicació"),
    "Cerrar la aplicación": ("Close the application", "Tanca l'aplicació"),
    "&Acerca de...": ("&About...", "&Quant a..."),
    "Acerca de...": ("About...", "Quant a..."),
    "C&onvertir ruta...": ("C&onvert route...", "C&onverteix..."),
    "Acceder a la conversión de rutas": ("Go to route conversion", "Obre la conversió de rutes"),
    "&Ver Track": ("&View track", "&Veure track"),
    "Visualizar Gráfica del Track": ("Show the track chart", "Mostra el gràfic del track"),
    "Ver &Google Maps": ("View &Google Maps", "Veure &Google Maps"),
    "Visualizar en Google Maps": ("Show on Google Maps", "Mostra al Google Maps"),
    "Ver &Perfil de ruta": ("View route &profile", "Veure &perfil"),
    "Visualizar perfil del track": ("Show the track profile", "Mostra el perfil del track"),
    "Ver &IBPIndex": ("View &IBPIndex", "Veure &IBPIndex"),
    "Ver IBPIndex": ("View IBPIndex", "Mostra l'IBPIndex"),
    "Zoom &In": ("Zoom &in", "&Amplia"),
    "CTRL+   Acercar el zoom": ("CTRL+   Zoom in", "CTRL+   Amplia el zoom"),
    "Zoom &Out": ("Zoom &out", "&Redueix"),
    "CTRL-    Alejar el Zoom": ("CTRL-    Zoom out", "CTRL-    Redueix el zoom"),
    "&Centrar gráfico del track": ("&Centre the track chart", "&Centra el gràfic del track"),
    "CTRL+W   Centrar el track": ("CTRL+W   Centre the track", "CTRL+W   Centra el track"),
    "Ver/Ocultar &Grid": ("Show/Hide &grid", "Mostra/amaga la &graella"),
    "Visualizar/Ocultar el Grid": ("Show or hide the grid", "Mostra o amaga la graella"),
    "Modo &Edición": ("&Edit mode", "Mode d'&edició"),
    "Cambiar a modo Edición": ("Switch to edit mode", "Canvia al mode d'edició"),
    "&Mover": ("&Move", "&Mou"),
    "Mover el gráfico": ("Move the chart", "Mou el gràfic"),
    "Ruta con &puntos": ("Route with &points", "Ruta amb &punts"),
    "Dibujar la ruta utilizando puntos": ("Draw the route with points", "Dibuixa la ruta amb punts"),
    "Ruta con &línea": ("Route with &line", "Ruta amb &línia"),
    "Dibujar la ruta utilizando linea": ("Draw the route with a line", "Dibuixa la ruta amb una línia"),
    "Imprimir gráfico": ("Print chart", "Imprimeix el gràfic"),
    "Imprimir gráfico de la ruta": ("Print the route chart", "Imprimeix el gràfic de la ruta"),
    "Grabar como imagen": ("Save as image", "Desa com a imatge"),
    "Exportar gráfico como bmp": ("Export the chart as BMP", "Exporta el gràfic com a BMP"),
    "Comenzar/reanudar la animación": ("Start/resume the animation", "Inicia/reprèn l'animació"),
    "Pausar la animación": ("Pause the animation", "Fes una pausa a l'animació"),
    "Detener la animación": ("Stop the animation", "Atura l'animació"),
    "Grabar como Imagen": ("Save as image", "Desa com a imatge"),
    "Grabar la imagen del mapa": ("Save the map image", "Desa la imatge del mapa"),
    "Imprimir Mapa de Google": ("Print Google map", "Imprimeix el mapa de Google"),
    "Imprimir el mapa": ("Print the map", "Imprimeix el mapa"),
    "Ver en Google Earth": ("View in Google Earth", "Mostra al Google Earth"),
    "Convertir la ruta existente a formato PLT (OziExplorer)": (
        "Convert the current route to PLT format (OziExplorer)",
        "Converteix la ruta actual al format PLT (OziExplorer)"),
    "Convertir la ruta existente a formato KML (KeyHole Markup language -Google Maps-)": (
        "Convert the current route to KML format (Keyhole Markup Language -Google Maps-)",
        "Converteix la ruta actual al format KML (Keyhole Markup Language -Google Maps-)"),
    "Ver relleno": ("Show fill", "Mostra l'emplenament"),
    "Ver relleno del gráfico": ("Show the chart filled", "Mostra el gràfic emplenat"),
    "Imprimir Perfil": ("Print profile", "Imprimeix el perfil"),
    "Imprimir el perfil de la ruta": ("Print the route profile", "Imprimeix el perfil de la ruta"),
    "Grabar imagen del perfil": ("Save the profile image", "Desa la imatge del perfil"),
    "Imprimir IBPIndex": ("Print IBPIndex", "Imprimeix l'IBPIndex"),
    "Imprimir datos de IBPIndex": ("Print the IBPIndex data", "Imprimeix les dades de l'IBPIndex"),
    "Grabar IBPIndex en PDF": ("Save IBPIndex as PDF", "Desa l'IBPIndex en PDF"),
    "Recalcular &IBPIndex": ("Recalculate &IBPIndex", "Torna a calcular l'&IBPIndex"),
    "Recalcular IBPIndex": ("Recalculate IBPIndex", "Torna a calcular l'IBPIndex"),
    "Acerca de IBPIndex...": ("About IBPIndex...", "Quant a l'IBPIndex..."),
    "Acerca de IBPIndex": ("About IBPIndex", "Quant a l'IBPIndex"),
    "Buscar &actualizaciones": ("Check for &updates", "Cerca &actualitzacions"),
    "Buscar actualizaciones del programa": ("Check for program updates",
                                            "Cerca actualitzacions del programa"),
    "Seleccionar idioma para la aplicación": ("Choose the application language",
                                              "Trieu l'idioma de l'aplicació"),
    "&Archivo": ("&File", "&Fitxer"),
    "Más...": ("More...", "Més..."),
    "Cambiar Tema": ("Change theme", "Canvia el tema"),
    "Idioma aplicación": ("Application language", "Idioma de l'aplicació"),
    "Proponer traducción...": ("Suggest a translation...", "Proposa una traducció..."),
    "Internet": ("Internet", "Internet"),
    "Debug/Log": ("Debug/Log", "Depuració/registre"),
    "Ver Log": ("Show log", "Mostra el registre"),
    "Ver Config": ("Show settings", "Mostra la configuració"),
    "FillCustomIni;": ("FillCustomIni;", "FillCustomIni;"),
    "&IBPIndex": ("&IBPIndex", "&IBPIndex"),
    "Operaciones...": ("Actions...", "Operacions..."),
    "I&mprimir IBPIndex": ("&Print IBPIndex", "&Imprimeix l'IBPIndex"),
    "&Grabar IBPIndex en PDF": ("&Save IBPIndex as PDF", "&Desa l'IBPIndex en PDF"),
    "&Acerca de IBPIndex...": ("&About IBPIndex...", "&Quant a l'IBPIndex..."),
    "&Perfil de ruta": ("Route &profile", "&Perfil de la ruta"),
    "Opciones": ("Options", "Opcions"),
    "&Ver relleno": ("&Show fill", "&Mostra l'emplenament"),
    "Modificar el zoom para el perfil": ("Change the profile zoom", "Canvia el zoom del perfil"),
    "&Modificar Zoom:": ("Change &zoom:", "Canvia el &zoom:"),
    "Operaciones": ("Actions", "Operacions"),
    "&Imprimir Perfil": ("&Print profile", "&Imprimeix el perfil"),
    "&Grabar como imagen": ("&Save as image", "&Desa com a imatge"),
    "&Google Maps": ("&Google Maps", "&Google Maps"),
    "&Ruta": ("&Route", "&Ruta"),
    "&Ver en Google Earth": ("&View in Google Earth", "&Mostra al Google Earth"),
    "&Imprimir Mapa de Google": ("&Print Google map", "&Imprimeix el mapa de Google"),
    "&Grabar como Imagen": ("&Save as image", "&Desa com a imatge"),
    "&Gráfico ruta": ("Route &chart", "&Gràfic de la ruta"),
    "&Track": ("&Track", "&Track"),
    "Gráfico de ruta": ("Route chart", "Gràfic de la ruta"),
    "Elementos": ("Elements", "Elements"),
    "Ancho de línea": ("Line width", "Gruix de la línia"),
    "&Ancho:": ("&Width:", "&Gruix:"),
    "Color de línea": ("Line colour", "Color de la línia"),
    "&Color:": ("&Colour:", "&Color:"),
    "Color de fondo": ("Background colour", "Color de fons"),
    "&Fondo:": ("&Background:", "&Fons:"),
    "&Imprimir gráfico": ("&Print chart", "&Imprimeix el gràfic"),
    "&Rutas": ("&Routes", "&Rutes"),
    "Fichero": ("File", "Fitxer"),
    "Conversión": ("Conversion", "Conversió"),
    "Otros": ("Other", "Altres"),
    "V&er Google Maps": ("Vi&ew Google Maps", "V&eure Google Maps"),
    "Salir": ("Exit", "Surt"),
    "Convertir ruta": ("Convert route", "Converteix una ruta"),
    "Utilizando el siguiente asistente podrá convertir rutas almacenadas en distintos formatos.": (
        "With the following assistant you can convert routes stored in different formats.",
        "Amb l'assistent següent podeu convertir rutes desades en formats diferents."),
    "Siga los pasos siguientes, seleccione finalmente el nombre para el fichero de salida y pulse "
    "sobre el botón de Convertir.": (
        "Follow the steps below, choose a name for the output file at the end and press the "
        "Convert button.",
        "Seguiu els passos següents, trieu al final el nom del fitxer de sortida i premeu el botó "
        "Converteix."),
    "Selecciona el fichero de &ruta/track que deseas convertir:": (
        "Choose the &route/track file you want to convert:",
        "Trieu el fitxer de &ruta/track que voleu convertir:"),
    "Selecciona el &formato de salida para el fichero a convertir:": (
        "Choose the output &format for the converted file:",
        "Trieu el &format de sortida del fitxer convertit:"),
    "Selecciona el nombre para el fichero de &salida:": (
        "Choose the name of the &output file:",
        "Trieu el nom del fitxer de &sortida:"),
    "&Mismo directorio que el original": ("&Same folder as the original",
                                          "&La mateixa carpeta que l'original"),
    "Convertir...": ("Convert...", "Converteix..."),
    "&Iniciar el proceso de conversión...": ("&Start the conversion...", "&Inicia la conversió..."),
    "&Limpiar datos de conversión": ("&Clear conversion data", "&Neteja les dades de conversió"),
    "Comando utilizado...": ("Command used...", "Ordre utilitzada..."),
    "&Configuración": ("&Settings", "&Configuració"),
    "IBP Index": ("IBP Index", "IBP Index"),
    "Conversión de rutas": ("Route conversion", "Conversió de rutes"),
    "&Convertir ruta a KML": ("&Convert route to KML", "&Converteix la ruta a KML"),
    "&Convertir ruta a PLT": ("C&onvert route to PLT", "C&onverteix la ruta a PLT"),
    "Google Map": ("Google Map", "Mapa de Google"),
    "&Perfil de altura": ("&Elevation profile", "&Perfil d'altitud"),
    "Gráfico ruta": ("Route chart", "Gràfic de la ruta"),
    "Datos puntuales": ("Point data", "Dades del punt"),
    "Información del punto": ("Point information", "Informació del punt"),
    "Fecha": ("Date", "Data"),
    "Hora": ("Time", "Hora"),
    "Latitud": ("Latitude", "Latitud"),
    "Coordenada de Latitud del punto": ("Latitude of the point", "Latitud del punt"),
    "Longitud": ("Longitude", "Longitud"),
    "Coordenada de Longitud del punto": ("Longitude of the point", "Longitud del punt"),
    "Altura": ("Elevation", "Altitud"),
    "Altura puntual": ("Elevation at the point", "Altitud al punt"),
    "Dist. Acumulada": ("Total dist.", "Dist. acumulada"),
    "Distancia acumulada total": ("Total distance so far", "Distància acumulada total"),
    "Ascenso acumulado": ("Total ascent", "Ascens acumulat"),
    "Ascenso acumulado (subida)": ("Total ascent (climbing)", "Ascens acumulat (pujada)"),
    "Descenso acumulado": ("Total descent", "Descens acumulat"),
    "Descenso acumulado (bajada)": ("Total descent (going down)", "Descens acumulat (baixada)"),
    "Velocidad puntual": ("Speed at the point", "Velocitat al punt"),
    "Animación": ("Animation", "Animació"),
    "Posición:": ("Position:", "Posició:"),
    "Posición dentro de la ruta": ("Position along the route", "Posició dins la ruta"),
    "Vel. Anim:": ("Anim. speed:", "Vel. anim.:"),
    "Velocidad de la animación": ("Animation speed", "Velocitat de l'animació"),
    "Gráfico de Altura": ("Elevation chart", "Gràfic d'altitud"),
    "Gráfico de Velocidad": ("Speed chart", "Gràfic de velocitat"),
    "&Datos de la ruta": ("Route &data", "&Dades de la ruta"),
    "Generales": ("General", "Generals"),
    "Nombre:": ("Name:", "Nom:"),
    "Fecha Hora:": ("Date and time:", "Data i hora:"),
    "Generación del track:": ("Track creation:", "Creació del track:"),
    "Creador:": ("Creator:", "Creador:"),
    "Versión:": ("Version:", "Versió:"),
    "Descripción:": ("Description:", "Descripció:"),
    "Esquema:": ("Schema:", "Esquema:"),
    "Datos del Track": ("Track data", "Dades del track"),
    "Latitud máxima:": ("Maximum latitude:", "Latitud màxima:"),
    "Longitud máxima:": ("Maximum longitude:", "Longitud màxima:"),
    "Latitud mínima:": ("Minimum latitude:", "Latitud mínima:"),
    "Longitud mínima:": ("Minimum longitude:", "Longitud mínima:"),
    "Distancia:": ("Distance:", "Distància:"),
    "Elevación": ("Elevation", "Altitud"),
    "DateTime": ("DateTime", "DataHora"),
    "Arrastra un Track desde el explorador de Windows o utiliza": (
        "Drag a track here from your file manager or use", "Arrossegueu un track des del gestor "
        "de fitxers o feu servir"),
    "la opción de <Abrir ruta> del menú de archivo.": (
        "the <Open route> option of the File menu.", "l'opció <Obre una ruta> del menú Fitxer."),
    "Comprobando si existen nuevas versiones del programa.": (
        "Checking for new versions of the program.",
        "S'està comprovant si hi ha versions noves del programa."),
    "Espere un momento, por favor...": ("Please wait a moment...",
                                        "Espereu un moment, si us plau..."),
    "Importando los datos del track a la aplicación.": (
        "Importing the track data into the application.",
        "S'estan important les dades del track a l'aplicació."),
    "Acerca de Senderal": ("About Senderal", "Quant a Senderal"),
    "Senderal - Aplicación gratuíta": ("Senderal - Free application", "Senderal - Aplicació gratuïta"),
    "Por el equipo de Senderal,": ("By the Senderal team,", "Per l'equip de Senderal,"),
    "software libre (GPL), 2026.": ("free software (GPL), 2026.", "programari lliure (GPL), 2026."),
    "Ventanas, gráficos e internet: Qt": ("Windows, graphics and internet: Qt",
                                          "Finestres, gràfics i internet: Qt"),
    "Catálogo de formatos: SQLite": ("Format catalogue: SQLite", "Catàleg de formats: SQLite"),
    "Mapas: Leaflet y OpenStreetMap": ("Maps: Leaflet and OpenStreetMap",
                                       "Mapes: Leaflet i OpenStreetMap"),
    "Traducciones: unidad Verbario": ("Translations: the Verbario unit",
                                      "Traduccions: la unitat Verbario"),
    "Cálculo de IBPIndex desde:": ("IBPIndex calculated by:", "Càlcul de l'IBPIndex des de:"),
    "Conversión de rutas:": ("Route conversion:", "Conversió de rutes:"),
    "Ribbon - Obsidian": ("Ribbon - Obsidian", "Ribbon - Obsidian"),
    "Ribbon - Luna": ("Ribbon - Luna", "Ribbon - Luna"),
    "Ribbon - Silver": ("Ribbon - Silver", "Ribbon - Silver"),
    "Tema de visualización:": ("Display theme:", "Tema de visualització:"),
    "&Comprobar actiualizaciones al iniciar la aplicación.": (
        "&Check for updates when the application starts.",
        "&Comprova si hi ha actualitzacions en iniciar l'aplicació."),
    "Ubicacion para la aplicacion GPSBabel:": ("Location of the GPSBabel program:",
                                               "Ubicació del programa GPSBabel:"),
    "Calcular ancho de línea automáticamente": ("Work out the line width automatically",
                                                "Calcula el gruix de la línia automàticament"),
    "Idioma de la aplicación:": ("Application language:", "Idioma de l'aplicació:"),
}

# Texts that read differently in one place: by key, (English, Catalan).
POR_CLAVE = {}


def neutro(texto):
    """A text that is the same in every language: no letters, an address, a file type pair."""
    return (not re.search(r"[^\W\d_]", texto) or re.match(r"^(https?://|\S+@\S+$)", texto)
            or re.fullmatch(r"GPX\s+->\s+\w+", texto) is not None)


def leer_plantilla(ruta):
    secciones, actual = [], None
    for linea in Path(ruta).read_text(encoding="utf-8-sig").splitlines():
        linea = linea.strip()
        if not linea or linea.startswith(";"):
            continue
        if linea.startswith("[") and linea.endswith("]"):
            actual = (linea[1:-1].strip(), [])
            secciones.append(actual)
        elif actual is not None and "=" in linea:
            clave, valor = linea.split("=", 1)
            actual[1].append((clave.strip(), valor.strip()))
    return secciones


def traducir(idioma, seccion, clave, valor, faltan):
    if seccion == "Misc":
        if idioma == "es":
            return "" if clave in MISC_VACIAS_ES else valor
        if clave not in MISC[idioma]:
            faltan.append(f"{idioma} {clave}")
            return valor
        return MISC[idioma][clave]
    if idioma == "es" or not valor or neutro(valor):
        return valor
    i = 0 if idioma == "en" else 1
    if clave in POR_CLAVE:
        return POR_CLAVE[clave][i]
    if valor in TEXTOS:
        return TEXTOS[valor][i]
    faltan.append(f"{idioma} {clave}={valor}")
    return valor


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    secciones = leer_plantilla(sys.argv[1])
    faltan = []
    salidas = {}
    for idioma in ("es", "en", "ca"):
        lineas = [CABECERA[idioma]]
        for nombre, entradas in secciones:
            lineas += ["", f"[{nombre}]"]
            if nombre == "Misc":
                lineas.append(NOTA_VACIAS[idioma])
            for clave, valor in entradas:
                lineas.append(f"{clave}={traducir(idioma, nombre, clave, valor, faltan)}")
        salidas[idioma] = "\r\n".join(lineas) + "\r\n"
    if faltan:
        sys.exit("Without translation:\n  " + "\n  ".join(faltan))
    for idioma, texto in salidas.items():
        (AQUI / f"{idioma}.lng").write_bytes(b"\xef\xbb\xbf" + texto.encode("utf-8"))


if __name__ == "__main__":
    main()
