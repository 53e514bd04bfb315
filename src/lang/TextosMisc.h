#pragma once

#include <QString>

#include <iterator>

// Every run-time text of the program: the key of section [Misc] of the language files and
// the built-in Spanish text (UTF-8, "\r\n" for a line break). Callers write
// LookupText("_STR_...", "default") inline with the same default; this table is what the
// translation template and the shipped language files are built from and checked against.
// A new `_STR_` key anywhere in the program belongs here too (a test scans the sources).
struct TTextoMisc {
    const char* clave;
    const char* textoDefecto;
};

// Where the translators write to; part of the invitation text below.
#define SENDERAL_CORREO_TRADUCCIONES "traducciones@senderal.example"

inline constexpr TTextoMisc TextosMisc[] = {
    {"_STR_CALCULANDO", "Calculando..."},
    {"_STR_CAPTION_EXPORT", "Exportar track..."},
    {"_STR_FILTER_ALLFILES", "Todos los ficheros (*.*)|*.*"},
    {"_STR_GENERANDO", "Generando..."},
    {"_STR_MAIN_TITLE", "Senderal  v. "},
    {"_STR_MAPA_PLANTILLAMAL", "La plantilla de teselas de %s no vale (%s): debe ser una dirección "
                               "http o https con {z}, {x} e {y}; se usa la de siempre."},
    {"_STR_MAPA_RECHAZADAS", "El servidor de teselas %s ha rechazado las peticiones (HTTP %s)."},
    {"_STR_MAPA_SINTESELAS", "No se han podido cargar las teselas del mapa (¿sin conexión?); la "
                             "ruta se muestra igualmente."},
    {"_STR_MAPA_VALORMAL", "El valor de %s no vale (%s); se usa el de siempre."},
    {"_STR_MI_CONVERTOK", "El fichero se ha convertido correctamente."},
    {"_STR_MI_DAMAGED", "El fichero %s está dañado (%s).\r\n\r\nSe han podido leer %d puntos antes "
                        "del daño. ¿Desea abrirlos?"},
    {"_STR_MI_ERORUPDATE", "No hay ninguna actualización disponible para la aplicación."},
    {"_STR_MI_ERRCONVERT",
     "Parece que ha ocurrido un problema al realizar la conversión.\r\nError: "},
    {"_STR_MI_ERRDATACONV", "Error al acceder a los datos de Conversión; "},
    {"_STR_MI_EXPORTTRACK", "Exportar track..."},
    {"_STR_MI_FILENOTEXIST", "El fichero de ruta no existe."},
    {"_STR_MI_INCOMPLETE", "(incompleto: %s)"},
    {"_STR_MI_INCORRECTTRACK", "Fichero de track incorrecto."},
    {"_STR_MI_METERS", "metros"},
    {"_STR_MI_NEWTRANS",
     "Si deseas proponer/realizar una nueva traducción para el programa puedes\r\n"
     "hacerlo de una forma sencilla siguiendo los siguientes pasos: (1) Abre el fichero "
     "<es.lng> que hay en el directorio de la aplicación con     un Editor de texto normal "
     "(Notepad, por ejemplo).(2) Traduce las cadena manteniendo la misma estructura que "
     "tienen.(3) Envíamelo a la dirección <" SENDERAL_CORREO_TRADUCCIONES
     "> indicando tus datos.\r\nPara las siguientes versiones estará añadido junto con tus "
     "datos."},
    {"_STR_MI_NEWVERSION", "Existe versión nueva..."},
    {"_STR_MI_NFILE_ERROR",
     "Se ha encontrado un caracter extraño en el nombre del fichero (%s). Modifique el nombre "
     "y vuelva a cargar la ruta.\r\n\r\nFichero: %s"},
    {"_STR_MI_NOPOINTS", "El fichero %s no contiene puntos de track ni de ruta."},
    {"_STR_MI_NOTOUTFORMAT", "No se ha seleccionado un formato de salida."},
    {"_STR_MI_OUTELEMINCORRECT", "Error; El elemento seleccionado en la salida no es correcto."},
    {"_STR_MI_QUESTIONDES", "Existe una versión nueva en la web:\r\nVersión: %s\r\nFecha:  "
                            "%s\r\n\r\n¿Desea descargarla?"},
    {"_STR_MI_QUESTIONUPD", "Existe una versión nueva en la web:\r\nVersión: %s\r\nFecha:  "
                            "%s\r\n¿Desea descargarla?\r\n\r\nAVISO: "},
    {"_STR_MI_SALIR", "¿Realmente desea cerrar la aplicación?"},
    {"_STR_MI_SAMEFORMAT", "Error; El formato de entrada y de salida parecen ser el mismo."},
    {"_STR_MI_TITLEGM", "&Google Maps"},
    {"_STR_MI_UPDPAQUETE", "Esta copia de Senderal se ha instalado con un paquete: las "
                           "actualizaciones llegan con el gestor de paquetes del sistema."},
    {"_STR_TITLE_SAVEMAP", "Guardar imagen del mapa..."},
    {"_STR_TRACK_DESC", "Descripción del track"},
    // Failures of the update check and of network requests
    {"_STR_MI_RED_TIMEOUT", "el servidor no ha respondido a tiempo"},
    {"_STR_MI_RED_REFUSED", "el servidor ha rechazado la conexión"},
    {"_STR_MI_RED_NOHOST", "no se encuentra el servidor (¿hay conexión a la red?)"},
    {"_STR_MI_RED_HTTP", "el servidor ha respondido con el estado HTTP %s"},
    {"_STR_MI_UPD_NOADDRESS", "No hay ninguna dirección de actualizaciones configurada, así que no "
                              "se ha podido comprobar si existe una versión nueva."},
    {"_STR_MI_UPD_NOTSAFE",
     "La dirección de actualizaciones no es segura (debe empezar por https://): %s"},
    {"_STR_MI_UPD_UNREACHABLE",
     "No se ha podido consultar el servidor de actualizaciones.\r\nDirección: %s\r\nMotivo: %s"},
    // Failures of the self-update, before the program folder is touched
    {"_STR_MI_UPD_KEPT", "El programa sigue como estaba."},
    {"_STR_MI_UPD_NOTWRITABLE",
     "No se puede escribir en la carpeta %s, así que el programa no puede actualizarse solo."},
    {"_STR_MI_UPD_NODOWNLOAD",
     "No se ha podido descargar la actualización.\r\nDirección: %s\r\nMotivo: %s"},
    {"_STR_MI_UPD_BADARCHIVE",
     "El fichero descargado no es una actualización válida del programa.\r\nMotivo: %s"},
    {"_STR_MI_UPD_UNSAFEENTRY",
     "El fichero descargado contiene una entrada que no es un fichero ni una carpeta dentro de la "
     "carpeta del programa, y no se ha usado: %s"},
    {"_STR_MI_UPD_UNPACK", "No se ha podido desempaquetar la actualización en %s.\r\nMotivo: %s"},
    {"_STR_MI_UPD_NOPROGRAM", "no contiene el programa %s"},
    {"_STR_MI_UPD_WRONGVERSION",
     "El programa de la actualización no es la versión anunciada (%s); dice ser: %s"},
    {"_STR_MI_UPDINSTALADA",
     "Esta copia de Senderal está instalada en las carpetas del sistema y no se actualiza sola: "
     "instale la versión nueva de la misma forma que esta."},
    // A track file that cannot be read
    {"_STR_MI_ERROPENTRACK", "Error al abrir el fichero de track.\r\n<%s>\r\n\r\nMotivo: %s"},
    {"_STR_MI_LINECOLUMN", "línea %s, columna %s"},
    // Things the desktop could not open
    {"_STR_MI_NOOPEN",
     "No se ha podido abrir:\r\n%s\r\n\r\nNo hay ningún programa en el sistema que pueda abrirlo "
     "(navegador web, correo o el programa de ese tipo de ficheros)."},
    {"_STR_MI_NOKMLAPP",
     "No hay ningún programa para ver ficheros KML (Google Earth) en el sistema.\r\nLa ruta se ha "
     "guardado en:\r\n%s\r\npara que pueda abrirla a mano."},
    // The IBP index: failures and leave to send a track
    {"_STR_MI_IBP_FAILED", "No se ha podido obtener el índice IBP de esta ruta.\r\nMotivo: %s"},
    {"_STR_MI_IBP_NORESULT", "el servicio no ha devuelto ningún resultado para esta ruta"},
    {"_STR_MI_IBP_RETRY", "Recalcular IBPIndex"},
    {"_STR_MI_IBP_NOTSENT",
     "Esta ruta no se ha enviado al servicio IBPindex (%s), así que no hay índice IBP. Puede "
     "enviarla ahora, o permitir el envío en la página de configuración."},
    {"_STR_MI_IBP_SENDNOW", "Enviar esta ruta ahora"},
    {"_STR_MI_IBP_NOPDF",
     "No hay ningún PDF del índice IBP que guardar: el índice de esta ruta no se ha obtenido."},
    {"_STR_MI_IBP_PDFFAILED", "No se ha podido descargar el PDF del índice IBP en %s."},
    {"_STR_MI_IBP_CONSENT",
     "Para calcular la dificultad (índice IBP) de una ruta, el programa puede enviar el fichero de "
     "la ruta al servicio IBPindex (%s).\r\n\r\n¿Permite que las rutas que cargue se envíen a ese "
     "servicio?\r\n(Puede cambiarlo en la página de configuración.)"},
    // Titles of dialogs, given when the dialog is made
    {"_STR_TITLE_OPENTRACK", "Seleccione el fichero de ruta"},
    // Texts the program sets itself
    {"_STR_RECENTDOCS", "Documentos recientes"},
    {"_STR_HELP", "Ayuda"},
    {"_STR_PROFILE_TITLE", "PERFIL DEL TRACK"},
    {"_STR_PROFILE_AXISX", "Kilómetros"},
    {"_STR_PROFILE_AXISY", "Altitud"},
    {"_STR_MI_POINT", "Punto:"},
    {"_STR_MI_CHOOSEFORMAT", "Selecciona formato de destino..."},
    {"_STR_MI_DESTEXISTS", "El fichero de destino ya existe:\r\n%s\r\n\r\n¿Desea reemplazarlo?"},
    {"_STR_MI_GPXEXISTS", "Ya existe el fichero GPX:\r\n%s\r\n\r\n¿Desea reemplazarlo?\r\n\r\nSi "
                          "responde No, la ruta se importará como:\r\n%s"},
    {"_STR_PT_FILTRADO", "%s (filtrado)"},
    {"_STR_UNIDAD_PULSO", "ppm"},
    {"_STR_MAG_ELEGIR", "Qué muestra este gráfico"},
    {"_STR_MAG_VELOCIDAD", "Velocidad"},
    {"_STR_MAG_PULSO", "Pulso"},
    {"_STR_MAG_CADENCIA", "Cadencia"},
    {"_STR_MAG_POTENCIA", "Potencia"},
    {"_STR_MAG_TEMPERATURA", "Temperatura"},
    {"_STR_GRAF_PULSO", "Gráfico de Pulso"},
    {"_STR_GRAF_CADENCIA", "Gráfico de Cadencia"},
    {"_STR_GRAF_POTENCIA", "Gráfico de Potencia"},
    {"_STR_GRAF_TEMPERATURA", "Gráfico de Temperatura"},
    {"_STR_TRAMO_PUNTOS", "Puntos %s a %s"},
    // Titles and filters of the save dialogs
    {"_STR_TITLE_SAVECONVERT", "Nombre para el fichero destino"},
    {"_STR_TITLE_SAVEIBP", "Grabar fichero de IBPIndex"},
    {"_STR_FILTER_PDF", "Ficheros PDF (*.pdf)"},
    {"_STR_TITLE_SAVEBMP", "Grabar como imagen"},
    {"_STR_FILTER_BMP", "Bitmaps (*.bmp)"},
    // Failures of the chart and the map page
    {"_STR_MI_ERRSAVEIMAGE", "No se ha podido grabar la imagen %s: %s"},
    {"_STR_MI_ERRPRINT", "No se ha podido empezar a imprimir en %s."},
    {"_STR_MI_GRAPHBUSY", "Ya se está construyendo el gráfico de la ruta."},
    {"_STR_MI_NORESOURCE", "Error no se encuentra el recurso."},
    // Names of the map types on the map page
    {"_STR_MAPA_TIPO_MAPA", "Mapa"},
    {"_STR_MAPA_TIPO_RELIEVE", "Relieve"},
    {"_STR_MAPA_TIPO_SATELITE", "Satélite"},
    {"_STR_MAPA_TIPO_HIBRIDO", "Híbrido"},
    // What went wrong in a conversion
    {"_STR_MI_BABEL_TIMEOUT", "GPSBabel no terminó en %s segundos y se ha detenido."},
    {"_STR_MI_BABEL_CRASH", "GPSBabel terminó de forma anormal."},
    {"_STR_MI_BABEL_EXITCODE", "GPSBabel terminó con el código de salida %s."},
    {"_STR_MI_BABEL_NOOUTPUT", "GPSBabel no ha escrito el fichero de destino."},
    {"_STR_MI_BABEL_NOOUTFORMAT",
     "El formato de salida \"%s\" no está en el catálogo de formatos."},
    {"_STR_MI_BABEL_NOINEXT",
     "La extensión \"%s\" del fichero de origen no está en el catálogo de formatos."},
    {"_STR_MI_BABEL_NOCOMMAND", "No hay comando de conversión."},
    {"_STR_MI_BABEL_NOSTART", "No se ha podido ejecutar GPSBabel (%s): %s"},
    {"_STR_MI_NOPROGRAM", "No se ha indicado el programa."},
    {"_STR_MI_PROGRAMMISSING", "No existe el programa: %s"},
    // Why a track file cannot be read, and what the file tools refuse
    {"_STR_RD_CUTCHAR", "el fichero está escrito en %s pero termina a medias de un carácter (le "
                        "sobran %s bytes al final)"},
    {"_STR_RD_BADENCODING", "el contenido no está codificado como declara el fichero"},
    {"_STR_RD_NOTINENCODING", "el fichero declara la codificación %s pero no está escrito en ella"},
    {"_STR_RD_UNKNOWNENCODING", "codificación de caracteres no admitida: %s"},
    {"_STR_RD_BADCHAR",
     "carácter no permitido en un documento XML (¿fichero binario o mal codificado?)"},
    {"_STR_RD_DOCEMPTY", "el documento está vacío"},
    {"_STR_RD_NOROOT", "el documento no tiene elemento raíz"},
    {"_STR_RD_TEXTOUTSIDE", "texto fuera del elemento raíz"},
    {"_STR_RD_SECONDDOCTYPE", "segunda declaración DOCTYPE"},
    {"_STR_RD_AFTERROOT", "contenido después del final del elemento raíz"},
    {"_STR_RD_XMLDECLOPEN", "declaración XML sin cerrar"},
    {"_STR_RD_XMLDECLBAD", "declaración XML mal formada"},
    {"_STR_RD_XMLDECLFIELD", "declaración XML con un campo desconocido '%s'"},
    {"_STR_RD_XMLDECLNOVERSION", "la declaración XML no tiene versión"},
    {"_STR_RD_DASHESCOMMENT", "'--' dentro de un comentario"},
    {"_STR_RD_COMMENTOPEN", "comentario sin cerrar"},
    {"_STR_RD_PINONAME", "instrucción de proceso sin nombre"},
    {"_STR_RD_XMLDECLPLACE", "declaración XML fuera del principio del documento"},
    {"_STR_RD_PIBAD", "instrucción de proceso mal formada"},
    {"_STR_RD_PIOPEN", "instrucción de proceso sin cerrar"},
    {"_STR_RD_DOCTYPEBAD", "declaración DOCTYPE mal formada"},
    {"_STR_RD_DOCTYPEOPEN", "declaración DOCTYPE sin cerrar"},
    {"_STR_RD_CHARREFBAD", "referencia de carácter mal formada"},
    {"_STR_RD_CHARREFNONE", "referencia a un carácter inexistente"},
    {"_STR_RD_CHARREFXML", "referencia a un carácter no permitido en XML"},
    {"_STR_RD_LONEAMP", "'&' suelto o referencia sin ';'"},
    {"_STR_RD_ENTITY", "la entidad '&%s;' no está definida o no se admite"},
    {"_STR_RD_NOEQUALS", "se esperaba '='"},
    {"_STR_RD_NOQUOTES", "se esperaba un valor entre comillas"},
    {"_STR_RD_LTINVALUE", "'<' dentro del valor de un atributo"},
    {"_STR_RD_EOFINVALUE", "fin del fichero dentro del valor de un atributo"},
    {"_STR_RD_EOF", "fin inesperado del fichero"},
    {"_STR_RD_BADNAME", "nombre de elemento no válido"},
    {"_STR_RD_EOFINTAG", "fin inesperado del fichero dentro de <%s>"},
    {"_STR_RD_NOGT", "se esperaba '>'"},
    {"_STR_RD_BADATTR", "atributo mal formado en <%s>"},
    {"_STR_RD_REPEATEDATTR", "atributo '%s' repetido"},
    {"_STR_RD_TOODEEP",
     "los elementos están anidados a más de %s niveles; ningún fichero de track los anida tanto"},
    {"_STR_RD_ENDTAGBAD", "etiqueta de cierre mal formada"},
    {"_STR_RD_ENDTAGWRONG", "se esperaba </%s> y se encontró </%s>"},
    {"_STR_RD_CDATAOPEN", "sección CDATA sin cerrar"},
    {"_STR_RD_EOFMISSING", "fin inesperado del fichero: falta </%s>"},
    {"_STR_RD_DECLINELEMENT", "declaración no permitida dentro de un elemento"},
    {"_STR_RD_NOTGPX", "el elemento raíz <%s> no es <%s>: no es un fichero GPX"},
    {"_STR_RD_FILEEMPTY", "el fichero está vacío"},
    {"_STR_RD_NOGPXELEMENT", "el fichero no contiene ningún elemento GPX"},
    {"_STR_RD_KIND_FIFO", "una tubería (FIFO)"},
    {"_STR_RD_KIND_FOLDER", "una carpeta"},
    {"_STR_RD_KIND_CHARDEV", "un dispositivo de caracteres"},
    {"_STR_RD_KIND_BLOCKDEV", "un dispositivo de bloques"},
    {"_STR_RD_KIND_SOCKET", "un socket"},
    {"_STR_RD_KIND_SPECIAL", "un fichero especial"},
    {"_STR_RD_NOTREGULAR", "%s no es un fichero normal sino %s; solo se pueden leer ficheros"},
    {"_STR_RD_TOOBIG", "el fichero supera los %s MB que se pueden abrir"},
    {"_STR_RD_NOMEMORY", "no hay memoria suficiente para leer este fichero"},
    {"_STR_RD_CHANGED", "%s ha cambiado mientras se leía (¿otro programa lo está escribiendo?); "
                        "vuelva a abrirlo cuando esté completo"},
    {"_STR_RD_DEST_SYMLINK", "El destino %s es un enlace simbólico; no se reemplaza"},
    {"_STR_RD_DEST_NOTREGULAR", "El destino %s no es un fichero normal sino %s; no se reemplaza"},
    {"_STR_RD_DEST_SAME", "El destino %s es el mismo fichero que el origen"},
    {"_STR_RD_DEST_EXISTS", "El fichero de destino ya existe: %s (--force lo reemplaza)"},
    {"_STR_RD_DEST_WRITE", "No se ha podido escribir el fichero de destino %s: %s"},
    {"_STR_RD_DEST_CREATE", "No se puede crear el fichero %s: %s"},
    {"_STR_RD_TOOMANYPOINTS", "El track es demasiado grande."},
    {"_STR_MI_NOMAPPING", "Error; No existe la librería de importación <GpxDS.dd>, que debe estar "
                          "junto con el fichero de la aplicación."},
    {"_STR_MI_NOTRACKFILE", "No está configurado el fichero da track (.GPX)"},
    {"_STR_TITLE_SAVEPROFILE", "Guardar imagen del perfil..."},
    {"_STR_FILTER_IMAGEBMP", "Bitmap (*.bmp)"},
    {"_STR_FILTER_IMAGEJPG", "Jpeg image (*.jpg)"},
    {"_STR_FILTER_IMAGEPNG", "Portable Network Graphics (*.png)"},
    {"_STR_FILTER_KML", "Google Earth (*.kml)"},
    {"_STR_FILTER_PLT", "Ozi Track File (*.plt)"},
};

inline constexpr auto NumTextosMisc = std::size(TextosMisc);

// The built-in text of a [Misc] key (compared without letter case); empty when unknown.
QString TextoMiscDefecto(const QString& key);
bool EsClaveMisc(const QString& key);
