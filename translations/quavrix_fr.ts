<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>Afficher l&apos;analyseur</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>Afficher les crêtes</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>Barres :</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>Largeur :</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>Espace :</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>Hauteur :</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>Répéter la playlist</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>Ordre aléatoire</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>Avance / retour rapide</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>Intervalle :</translation>
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
        <translation>Désactivé</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>Piste</translation>
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
        <translation>Préampli :</translation>
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
        <translation>Sans tag :</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>Éviter l&apos;écrêtage</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>Écran pendant la lecture</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>Rétroéclairage éteint</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>Écran éteint (appareils C7xx seulement)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>Délai après la mise en marche</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>plus de place sur l&apos;appareil</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>le quota disque est épuisé</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>l&apos;appareil est en lecture seule</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>permission refusée</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>le dossier n&apos;existe pas</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>l&apos;appareil a signalé une erreur</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>l&apos;appareil a disparu</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>le fichier est trop gros</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>le fichier est en lecture seule</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>Signets</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>Impossible d&apos;enregistrer les signets : %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>Nom du signet</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>Signet</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>Ajouter un signet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>Gérer les signets</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>Voulez-vous vraiment supprimer
le signet actuel ?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>Signets</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>Colonne 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>Aller</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>Artiste</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>Année</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>Piste</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>Artiste exemple</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>Album exemple</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>Premier titre</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>Deuxième titre</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>Troisième titre</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>Ligne impaire :</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>Ligne paire :</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>Couleurs personnalisées</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>Recherche des fichiers</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>Recherche de fichiers</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>Lecture des infos</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>Tri</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>Traitement du dossier Documents</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>Texte :</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>Trier</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>Volume + :</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>Volume − :</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>Lecture / pause :</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>Suivant :</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>Précédent :</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>Avance rapide :</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>Retour rapide :</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>Touche Annuler arrête la lecture</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>Dossier Documents</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>Parcourir</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>Colonne 1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>Inclure les sous-dossiers</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>Retirer</translation>
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
        <translation>Dossiers multimédias</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>Le chemin d&apos;un dossier ne peut pas contenir « | ».</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[Tous]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[Vide]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[Tous]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[Toutes]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>Sélection</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>Tout ajouter</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>Général</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>Couleurs</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>Touches</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>Style</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>Analyseur</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>Nom de la playlist</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>Enregistrer la playlist</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>La playlist existe déjà !</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>Impossible d&apos;enregistrer la playlist : %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>son nom n&apos;a pas pu être enregistré dans les réglages</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>Charger une playlist</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>Gérer les playlists</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>La playlist %1 a été modifiée !
Voulez-vous l&apos;enregistrer ?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../library/playlist.cpp" line="+73"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Are you sure you want to delete
Playlist :%1?</source>
        <translation>Voulez-vous vraiment supprimer
la playlist %1 ?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>Renommer la playlist</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>Échec du renommage !</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>Dossiers multimédias</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Organize</source>
        <translation>Gérer</translation>
    </message>
    <message>
        <location line="+530"/>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>Tout ajouter</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>Vider</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>Monter</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>Baisser</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>Préc.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>Suiv.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>Avance</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>Retour</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+121"/>
        <location line="+8"/>
        <source>Play</source>
        <translation>Lecture</translation>
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
        <translation>Impossible d&apos;enregistrer les réglages : %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>Position des onglets</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>Haut</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>Bas</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>Gauche</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>Droite</translation>
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
        <translation>kb/s</translation>
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
        <translation>stéréo</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>Impossible d&apos;ouvrir le périphérique audio %1 (%2) : la lecture continue sans son.</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>La sortie audio ne fonctionne plus (%1) : la lecture continue sans son.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>La sortie audio ne fonctionnait plus (%1) et a été rouverte.</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>Agrandir</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>Supprimer</translation>
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
        <translation>À propos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Lecteur de musique pour petits écrans.&lt;br&gt;MP3, Ogg Vorbis et AAC.</translation>
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
        <translation>Annuler</translation>
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
        <translation>Bibliothèque</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>Impossible de lire %1 : ce fichier n&apos;existe pas.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>Impossible de lire %1 : ce fichier n&apos;est pas lisible.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>Impossible de lire %1 : ce format audio n&apos;est pas pris en charge.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>Son</translation>
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
        <translation>Renommer</translation>
    </message>
</context>
</TS>
