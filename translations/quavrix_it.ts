<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>Mostra analizzatore</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>Mostra picchi</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>Barre:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>Larghezza:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>Spazio:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>Altezza:</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>Ripeti playlist</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>Ordine casuale</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>Avanti / indietro veloce</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>Intervallo:</translation>
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
        <translation>Disattivato</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>Traccia</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <comment>gain of the album</comment>
        <translation>Album</translation>
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
        <translation>Senza tag:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>Evita il clipping</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>Schermo in riproduzione</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>Retroilluminazione spenta</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>Schermo spento (solo dispositivi C7xx)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>Attesa dopo l&apos;accensione</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>spazio esaurito sul dispositivo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>la quota disco è esaurita</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>il dispositivo è di sola lettura</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>permesso negato</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>la cartella non esiste</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>il dispositivo ha segnalato un errore</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>il dispositivo non c&apos;è più</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>il file è troppo grande</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>non è un file normale</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>il file è di sola lettura</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>Segnalibri</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>Impossibile salvare i segnalibri: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>Nome del segnalibro</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>Segnalibro</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>Aggiungi segnalibro</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>Organizza segnalibri</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>Eliminare davvero
il segnalibro corrente?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>Rinomina</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>Segnalibri</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>Colonna 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>Vai</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>Titolo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>Anno</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>Traccia</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>Artista di esempio</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>Album di esempio</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>Primo brano</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>Secondo brano</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>Terzo brano</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>Riga dispari:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>Riga pari:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>Colori personalizzati</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>Ricerca dei file</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>Ricerca file in corso</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>Lettura informazioni</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>Ordinamento</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>Elaborazione cartella Documenti</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>Testo:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>Ordina</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>Modifica</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>Nessuno</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>Volume +:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>Volume −:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>Riproduci / pausa:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>Successivo:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>Precedente:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>Avanti veloce:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>Indietro veloce:</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>Il tasto Annulla ferma</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>Cartella Documenti</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>Esamina</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>Colonna 1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>Cartella</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>Includi sottocartelle</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>Aggiungi</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>Rimuovi</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MediaFoldersDialog</name>
    <message>
        <location filename="../library/mediafoldersdialog.cpp" line="+40"/>
        <source>Edit Media Folders</source>
        <translation>Modifica cartelle</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>Scegli cartella</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>Il percorso di una cartella non può contenere &quot;|&quot;.</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[Tutti]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[Vuoto]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[Tutti]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[Tutti]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>Selezione</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>Aggiungi</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>Aggiungi tutto</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>Generale</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>Colori</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>Tasti</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>Stile</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>Analizzatore</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>Nome della playlist</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>Salva playlist</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>La playlist esiste già!</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>Sovrascrivi</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>Impossibile salvare la playlist: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>il nome non è stato salvato nelle impostazioni</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>Carica playlist</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>Organizza playlist</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>La playlist %1 è stata modificata!
Salvarla?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../library/playlist.cpp" line="+73"/>
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Are you sure you want to delete
Playlist :%1?</source>
        <translation>Eliminare davvero
la playlist %1?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>Rinomina</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>Rinomina playlist</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>Rinomina non riuscita!</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>Cartelle multimediali</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>Carica</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Organize</source>
        <translation>Organizza</translation>
    </message>
    <message>
        <location line="+530"/>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Play</source>
        <translation>Riproduci</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>Riproduci</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>Aggiungi tutto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>Svuota</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>Alza</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>Abbassa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>Prec.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>Succ.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>Avanti</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+121"/>
        <location line="+8"/>
        <source>Play</source>
        <translation>Riproduci</translation>
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
        <translation>Impossibile salvare le impostazioni: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>Posizione schede</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>Anteprima</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>Sopra</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>Sotto</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>Sinistra</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>Destra</translation>
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
        <translation>stereo</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>Impossibile aprire il dispositivo audio %1 (%2): la riproduzione continua senza audio.</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>L&apos;uscita audio ha smesso di funzionare (%1): la riproduzione continua senza audio.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>L&apos;uscita audio ha smesso di funzionare (%1) ed è stata riaperta.</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>Ingrandisci</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>Riduci</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>Elimina</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+10"/>
        <location line="+15"/>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Lettore musicale per schermi piccoli.&lt;br&gt;MP3, Ogg Vorbis e AAC.</translation>
    </message>
</context>
<context>
    <name>VRXOkCancel</name>
    <message>
        <location filename="../lib/qt/vrxokcancel.cpp" line="+13"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>VRXPlayerWindow</name>
    <message>
        <location filename="../app/vrxplayerwindow.cpp" line="+67"/>
        <source>Play List</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library</source>
        <translation>Libreria</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>Lettore</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>Impossibile riprodurre %1: il file non esiste.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>Impossibile riprodurre %1: il file non è leggibile.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>Impossibile riprodurre %1: formato audio non supportato.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>Audio</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>VRXRenameDialog</name>
    <message>
        <location filename="../lib/qt/vrxrenamedialog.cpp" line="+13"/>
        <source>Rename</source>
        <translation>Rinomina</translation>
    </message>
</context>
</TS>
