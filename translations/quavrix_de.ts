<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>Analysator zeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>Spitzen zeigen</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>Balken:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>Abstand:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>Playlist wiederholen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>Zufällige Reihenfolge</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>Vor- / Rücklauf</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>Intervall:</translation>
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
        <translation>Aus</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>Titel</translation>
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
        <translation>Vorverst.:</translation>
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
        <translation>Ohne Tag:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>Übersteuerung vermeiden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>Anzeige bei Wiedergabe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>Beleuchtung aus</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>Anzeige aus (nur C7xx-Geräte)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>Verzögerung nach Einschalten</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>kein Platz mehr auf dem Gerät</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>das Speicherkontingent ist erschöpft</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>das Gerät ist schreibgeschützt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>der Ordner existiert nicht</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>das Gerät meldet einen Fehler</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>das Gerät ist nicht mehr da</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>die Datei ist zu groß</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>es ist keine normale Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>Die Lesezeichen konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>Name des Lesezeichens</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>Lesezeichen setzen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>Lesezeichen verwalten</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>Soll das aktuelle Lesezeichen
wirklich gelöscht werden?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>Spalte 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>Los</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>Nr.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>Beispielinterpret</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>Beispielalbum</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>Erstes Lied</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>Zweites Lied</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>Drittes Lied</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>Ungerade Zeile:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>Gerade Zeile:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>Eigene Farben</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>Mediendateien suchen</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>Dateien werden gesucht</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>Dateiinfos lesen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>Dokumentenordner verarbeiten</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>Lauter:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>Leiser:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>Wiedergabe / Pause:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>Weiter:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>Zurück:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>Vorlauf:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>Rücklauf:</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>Abbruchtaste stoppt Wiedergabe</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>Dokumentenordner</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>Spalte 1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>Mit Unterordnern</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>Entfernen</translation>
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
        <translation>Medienordner bearbeiten</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>Medienordner wählen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>Der Pfad eines Medienordners darf kein „|“ enthalten.</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[Alle]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[Leer]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[Alle]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[Alle]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>Alle hinzufügen</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>Tasten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>Stil</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>Analysator</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>Name der Playlist</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>Playlist speichern</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>Die Playlist gibt es schon!</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>Die Playlist konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>ihr Name ließ sich nicht in den Einstellungen speichern</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>Playlist laden</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>Playlists verwalten</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>Die Playlist %1 wurde geändert!
Soll sie gespeichert werden?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../library/playlist.cpp" line="+73"/>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Are you sure you want to delete
Playlist :%1?</source>
        <translation>Soll die Playlist %1
wirklich gelöscht werden?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>Playlist umbenennen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>Umbenennen fehlgeschlagen!</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>Medienordner</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Organize</source>
        <translation>Verwalten</translation>
    </message>
    <message>
        <location line="+530"/>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>Bibliothek</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>Lauter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>Leiser</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>Zurück</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>Weiter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>Vorlauf</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>Rücklauf</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+121"/>
        <location line="+8"/>
        <source>Play</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+3"/>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
</context>
<context>
    <name>SaveFailureNotice</name>
    <message>
        <location filename="../app/savefailurenotice.cpp" line="+32"/>
        <source>Could not save the settings: %1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>Position der Reiter</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>Rechts</translation>
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
        <translation>kbit/s</translation>
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
        <translation>Mono</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>stereo</source>
        <translation>Stereo</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>Das Audiogerät %1 lässt sich nicht öffnen (%2): Wiedergabe läuft ohne Ton weiter.</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>Die Tonausgabe funktioniert nicht mehr (%1): Wiedergabe läuft ohne Ton weiter.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>Die Tonausgabe funktionierte nicht mehr (%1) und wurde neu geöffnet.</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>Löschen</translation>
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
        <translation>Über</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Musikplayer für kleine Bildschirme.&lt;br&gt;MP3, Ogg Vorbis und AAC.</translation>
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
        <translation>Abbrechen</translation>
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
        <translation>Bibliothek</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>Player</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>%1 kann nicht abgespielt werden: Die Datei gibt es nicht.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>%1 kann nicht abgespielt werden: Die Datei ist nicht lesbar.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>%1 kann nicht abgespielt werden: Dieses Tonformat kennt der Player nicht.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>Ton</translation>
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
        <translation>Umbenennen</translation>
    </message>
</context>
</TS>
