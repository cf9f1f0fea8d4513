<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>Mostrar analizador</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>Mostrar picos</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>Barras:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>Ancho:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>Espacio:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>Altura:</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>Repetir la lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>Orden aleatorio</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>Avance / retroceso</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>Intervalo:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+35"/>
        <source>s</source>
        <comment>unit symbol of seconds, after the number</comment>
        <translation>s</translation>
    </message>
    <message>
        <location line="-30"/>
        <source>ReplayGain</source>
        <translation>ReplayGain</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>Pista</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <comment>gain of the album</comment>
        <translation>Álbum</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pre-amp:</source>
        <translation>Preamp.:</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+4"/>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Untagged:</source>
        <translation>Sin etiqueta:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>Evitar saturación</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>Pantalla al reproducir</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>Retroiluminación apagada</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>Pantalla apagada (solo equipos C7xx)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>Espera tras encender</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>no queda espacio en el dispositivo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>se agotó la cuota de disco</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>el dispositivo es de solo lectura</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>permiso denegado</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>la carpeta no existe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>el dispositivo informó de un error</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>el dispositivo ya no está</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>el archivo es demasiado grande</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>el archivo es de solo lectura</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>No se pudieron guardar los marcadores: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>Nombre del marcador</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>Marcador</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>Añadir marcador</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>Organizar marcadores</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>¿Seguro que quiere eliminar
el marcador actual?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>Renombrar</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>Columna 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>Ir</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>Título</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>Álbum</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>Año</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>Pista</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>Artista de ejemplo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>Álbum de ejemplo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>Primera canción</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>Segunda canción</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>Tercera canción</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>Línea impar:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>Línea par:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>Colores propios</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>Buscando archivos</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>Buscando archivos</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>Leyendo información</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>Ordenando</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>Procesando carpeta Documentos</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>Texto:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>Ordenar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>Ninguna</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>Subir volumen:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>Bajar volumen:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>Reproducir / pausa:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>Siguiente:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>Anterior:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>Avance rápido:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>Retroceso:</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>Tecla Cancelar detiene</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>Carpeta Documentos</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>Examinar</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>Columna 1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>Incluir subcarpetas</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>MediaFoldersDialog</name>
    <message>
        <location filename="../library/mediafoldersdialog.cpp" line="+40"/>
        <source>Edit Media Folders</source>
        <translation>Editar carpetas</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>Elegir carpeta</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>La ruta de una carpeta no puede contener «|».</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[Todos]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[Vacío]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[Todos]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[Todos]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>Selección</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>Añadir todo</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>General</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>Colores</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>Teclas</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>Estilo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>Analizador</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>Nombre de la lista</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>Guardar lista</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>¡La lista ya existe!</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>Sobrescribir</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>No se pudo guardar la lista: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>su nombre no se pudo guardar en la configuración</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>Cargar lista</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>Organizar listas</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>¡La lista %1 ha cambiado!
¿Quiere guardarla?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../library/playlist.cpp" line="+73"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Are you sure you want to delete
Playlist :%1?</source>
        <translation>¿Seguro que quiere eliminar
la lista %1?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>Renombrar</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>Renombrar lista</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>¡No se pudo renombrar!</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>Carpetas de medios</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>Cargar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Organize</source>
        <translation>Organizar</translation>
    </message>
    <message>
        <location line="+530"/>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>Añadir todo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>Vaciar</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>Subir</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>Bajar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>Anterior</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>Siguiente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>Avanzar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>Retroceder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+121"/>
        <location line="+8"/>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+3"/>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
</context>
<context>
    <name>SaveFailureNotice</name>
    <message>
        <location filename="../app/savefailurenotice.cpp" line="+32"/>
        <source>Could not save the settings: %1</source>
        <translation>No se pudo guardar la configuración: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>Posición de pestañas</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>Arriba</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>Abajo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>Izquierda</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>Derecha</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
</context>
<context>
    <name>TrackInfo</name>
    <message>
        <location filename="../ui/trackinfo.cpp" line="+45"/>
        <location line="+39"/>
        <source>kbps</source>
        <translation>kbps</translation>
    </message>
    <message>
        <location line="-38"/>
        <location line="+38"/>
        <source>kHz</source>
        <translation>kHz</translation>
    </message>
    <message>
        <location line="-38"/>
        <source>mono</source>
        <translation>mono</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>stereo</source>
        <translation>estéreo</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>No se puede abrir el dispositivo de sonido %1 (%2): se sigue reproduciendo sin sonido.</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>La salida de sonido dejó de funcionar (%1): se sigue reproduciendo sin sonido.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>La salida de sonido dejó de funcionar (%1) y se volvió a abrir.</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>Reducir</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+10"/>
        <location line="+15"/>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Reproductor de música para pantallas pequeñas.&lt;br&gt;MP3, Ogg Vorbis y AAC.</translation>
    </message>
</context>
<context>
    <name>VRXOkCancel</name>
    <message>
        <location filename="../lib/qt/vrxokcancel.cpp" line="+13"/>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>VRXPlayerWindow</name>
    <message>
        <location filename="../app/vrxplayerwindow.cpp" line="+67"/>
        <source>Play List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library</source>
        <translation>Biblioteca</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>Reproductor</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>No se puede reproducir %1: el archivo no existe.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>No se puede reproducir %1: no es un archivo legible.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>No se puede reproducir %1: este formato de sonido no es compatible.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>VRXRenameDialog</name>
    <message>
        <location filename="../lib/qt/vrxrenamedialog.cpp" line="+13"/>
        <source>Rename</source>
        <translation>Renombrar</translation>
    </message>
</context>
</TS>
